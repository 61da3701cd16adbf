// Reference counting as the platform does it: a new object holds one reference, Release of the
// last one destroys it.
#pragma once

#include "platform/window_input.h"

namespace platform {

template <typename Interface>
class RefCounted : public Interface {
  public:
    ULONG AddRef() override { return ++refs_; }
    ULONG Release() override {
        const ULONG left = --refs_;
        if (left == 0) delete this;
        return left;
    }

  private:
    ULONG refs_ = 1;
};

}  // namespace platform
