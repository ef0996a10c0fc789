// Fault injection: counts platform calls by kind and fails the ones a test asked for.
#include "soft/faults.h"

namespace {

struct FaultPlan {
  int calls;       // calls made so far
  int first_fail;  // call number that fails first; 0 means none
  int last_fail;   // last call number that fails
};

FaultPlan fault_plans[static_cast<int>(PlatformCall::Count)];

FaultPlan& PlanFor(PlatformCall call) { return fault_plans[static_cast<int>(call)]; }

}  // namespace

void InjectFault(PlatformCall call, int nth, int times) {
  FaultPlan& plan = PlanFor(call);
  if (nth < 1 || times < 1) return;
  plan.first_fail = plan.calls + nth;
  plan.last_fail = plan.first_fail + times - 1;
}

void ClearFaults() {
  for (FaultPlan& plan : fault_plans) plan = FaultPlan{};
}

bool FaultHits(PlatformCall call) {
  FaultPlan& plan = PlanFor(call);
  ++plan.calls;
  return plan.first_fail != 0 && plan.calls >= plan.first_fail && plan.calls <= plan.last_fail;
}

int PlatformCallCount(PlatformCall call) { return PlanFor(call).calls; }
