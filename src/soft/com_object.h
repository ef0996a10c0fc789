// Reference counting shared by the software platform's COM objects: one reference at creation,
// deleted when the last one is released; no other interfaces are handed out.
#pragma once

#include "win32.h"

// Implements IUnknown for an object of interface `Interface`.
template <typename Interface>
struct ComObject : Interface {
  ULONG references = 1;  // held references

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** object) override {
    if (object) *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --references;
    if (left == 0) delete this;
    return left;
  }
};
