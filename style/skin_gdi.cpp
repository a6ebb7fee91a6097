#include "style/skin_gdi.h"

namespace tolvane {
namespace {

// Touched on the user-interface thread only, like the rest of the skin.
long g_live_objects = 0;

}  // namespace

long live_skin_gdi_objects() noexcept {
    return g_live_objects;
}

namespace skin_gdi_detail {
void count_made() noexcept {
    ++g_live_objects;
}
void count_released() noexcept {
    --g_live_objects;
}
}  // namespace skin_gdi_detail

}  // namespace tolvane
