// The GDI objects the skin makes while it paints, counted while they live,
// so that a test can see that no paint leaves one behind (the system's own
// count is not available everywhere).
#pragma once

#include <windows.h>

#include <utility>

#include "app/win_handle.h"

namespace tolvane {

// GDI objects and memory DCs the skin has made and not yet released.
long live_skin_gdi_objects() noexcept;

namespace skin_gdi_detail {
void count_made() noexcept;
void count_released() noexcept;
}  // namespace skin_gdi_detail

template <typename Unique>
class CountedGdi {
  public:
    using Handle = decltype(std::declval<const Unique&>().get());

    explicit CountedGdi(Handle handle) noexcept : object_(handle) {
        if (object_)
            skin_gdi_detail::count_made();
    }
    CountedGdi(const CountedGdi&) = delete;
    CountedGdi& operator=(const CountedGdi&) = delete;
    ~CountedGdi() {
        if (object_) {
            object_.reset();
            skin_gdi_detail::count_released();
        }
    }

    Handle get() const noexcept { return object_.get(); }
    explicit operator bool() const noexcept { return static_cast<bool>(object_); }

  private:
    Unique object_;
};

using SkinBitmap = CountedGdi<UniqueBitmap>;
using SkinMemoryDc = CountedGdi<UniqueMemoryDc>;
using SkinRegion = CountedGdi<UniqueRegion>;

}  // namespace tolvane
