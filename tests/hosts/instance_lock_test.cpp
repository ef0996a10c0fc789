#include "hosts/sdl/instance_lock.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <string>

#include "test_support.h"

namespace {

class InstanceLockTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/vork-lock-test.XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    folder = pattern;
    path = folder + "/vork.lock";
  }
  void TearDown() override {
    unlink(path.c_str());
    unlink((folder + "/other").c_str());
    rmdir(folder.c_str());
  }
  std::string folder;
  std::string path;
};

TEST_F(InstanceLockTest, OneHolderAtATimeAndACrashedHolderLeavesNoLock) {
  // A copy that dies without a word, as a crash does: the file stays, the lock goes with it.
  pid_t child = fork();
  if (child == 0) {
    int fd = -1;
    _exit(TakeInstanceLock(path, &fd) == LockOutcome::TAKEN ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(ReadTextFile(path), std::to_string(child) + "\n");
  int first = -1;
  ASSERT_EQ(TakeInstanceLock(path, &first), LockOutcome::TAKEN);
  EXPECT_EQ(InstanceLockHolder(path), getpid()) << "the holder's id replaces the dead one's";
  int second = -1;
  EXPECT_EQ(TakeInstanceLock(path, &second), LockOutcome::HELD);
  EXPECT_EQ(second, -1);
  ReleaseInstanceLock(first);
  EXPECT_EQ(TakeInstanceLock(path, &second), LockOutcome::TAKEN);
  ReleaseInstanceLock(second);
}

TEST_F(InstanceLockTest, TakesOnlyAPlainFileAndNeverFollowsALink) {
  // In a shared folder another user could put a link, or anything else, where the lock goes.
  std::ofstream(folder + "/other") << "keep me";
  ASSERT_EQ(symlink((folder + "/other").c_str(), path.c_str()), 0);
  int fd = -1;
  EXPECT_EQ(TakeInstanceLock(path, &fd), LockOutcome::UNAVAILABLE);
  EXPECT_EQ(fd, -1);
  EXPECT_EQ(ReadTextFile(folder + "/other"), "keep me");
  EXPECT_EQ(InstanceLockHolder(path), 0);
  ASSERT_EQ(unlink(path.c_str()), 0);
  ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
  EXPECT_EQ(TakeInstanceLock(path, &fd), LockOutcome::UNAVAILABLE);
  EXPECT_EQ(fd, -1);
  EXPECT_EQ(TakeInstanceLock(folder, &fd), LockOutcome::UNAVAILABLE);
}

TEST_F(InstanceLockTest, TheHolderIsReadOnlyFromAWholeId) {
  // A copy that has just taken the lock may not have written its id yet.
  const std::pair<const char*, int> texts[] = {{"", 0}, {"123", 0}, {"x\n", 0}, {"-5\n", 0}, {"0\n", 0},
                                               {"4321\n", 4321}};
  for (const auto& [text, holder] : texts) {
    std::ofstream(path, std::ios::trunc) << text;
    EXPECT_EQ(InstanceLockHolder(path), holder) << '"' << text << '"';
  }
}

TEST(InstanceLockPath, OnePerUserAndDisplayInTheRuntimeFolder) {
  EXPECT_EQ(InstanceLockPath("/run/user/1000", ":0", 1000), "/run/user/1000/vork-1000-0.lock");
  EXPECT_EQ(InstanceLockPath("/run/user/7", "host/../x:10.0", 7), "/run/user/7/vork-7-host..x10.0.lock");
  EXPECT_EQ(InstanceLockPath(nullptr, "wayland-0", 5), "/tmp/vork-5-wayland-0.lock");
  EXPECT_EQ(InstanceLockPath("", nullptr, 5), "/tmp/vork-5-console.lock");
}

TEST(RaiseRequest, ASignalFromASecondStartIsTakenOnce) {
  ListenForRaiseRequests();
  EXPECT_FALSE(TakeRaiseRequest());
  ASSERT_TRUE(AskToRaise(getpid()));
  EXPECT_TRUE(TakeRaiseRequest());
  EXPECT_FALSE(TakeRaiseRequest());
  EXPECT_FALSE(AskToRaise(0));
  EXPECT_FALSE(AskToRaise(getppid())) << "a process running another program is never signalled";
}

}  // namespace
