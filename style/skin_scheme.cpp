#include "style/skin_scheme.h"

namespace tolvane {
namespace {

// Scheme 1: blue, with a blue glow on hot buttons.
constexpr SchemeColours kBlue = {
    .push_border = 0x8C4A1A,
    .push_ring = vertical_gradient(0xFFFFFF, 0xE8DCD2),
    .push_face = vertical_gradient(0xFCFAF8, 0xECD6C2),
    .push_ring_hot = vertical_gradient(0xFFEFD9, 0xE59A3C),
    .push_ring_checked = {0xD6C4B4, 0xD6CCC2, 0xF7F1EC, 0xF7F1EC},
    .push_face_checked = 0xEFDCCB,
    .push_pressed = 0xEFDCCB,
    .push_face_disabled = 0xF5F0EA,
    .push_caption = 0x000000,
    .disabled_caption = 0xA59E94,
    .focus_dots = 0x000000,
    .box_border = 0x8C4A1A,
    .box_face = {0xDED8D2, 0xF7F1EC, 0xF7F1EC, 0xFFFFFF},
    .box_face_hot = {0xFFEFD9, 0xFFC27A, 0xFFC27A, 0xF0A040},
    .box_face_pressed = {0xB5ADA5, 0xD6D0CA, 0xD6D0CA, 0xF7EBDE},
    .box_face_disabled = 0xFFFFFF,
    .box_hot_inner = 0xE7E7E7,
    .box_hot_inner_ticked = 0xF7F7F7,
    .tick = 0xB5661F,
    .tick_disabled = 0xCEC6BD,
    .edit_frame = 0xB99A7F,
};

// Scheme 2, the program's own.
constexpr SchemeColours kGreen = {
    .push_border = 0x066237,
    .push_ring = vertical_gradient(0xFFFFFF, 0xD6DFE2),
    .push_face = vertical_gradient(0xFBFCFC, 0xC9E1EC),
    .push_ring_hot = vertical_gradient(0xCFF0FF, 0x0097E5),
    .push_ring_checked = {0xBDCBD6, 0xC6CFD6, 0xEFF3F7, 0xEFF3F7},
    .push_face_checked = 0xCEE3EF,
    .push_pressed = 0xCEE3EF,
    .push_face_disabled = 0xEAF4F5,
    .push_caption = 0x000000,
    .disabled_caption = 0x94A2A5,
    .focus_dots = 0x000000,
    .box_border = 0x845118,
    .box_face = {0xD6DFDE, 0xEFF3F7, 0xEFF3F7, 0xFFFFFF},
    .box_face_hot = {0xCEF3FF, 0x63CBFF, 0x63CBFF, 0x31B2FF},
    .box_face_pressed = {0xA5B2B5, 0xCED7D6, 0xCED7D6, 0xDEEFF7},
    .box_face_disabled = 0xFFFFFF,
    .box_hot_inner = 0xE7E7E7,
    .box_hot_inner_ticked = 0xF7F7F7,
    .tick = 0x21A221,
    .tick_disabled = 0xBDCBCE,
    .edit_frame = 0x7FB9A4,
};

// Scheme 3: silver, with a warm glow on hot buttons.
constexpr SchemeColours kSilver = {
    .push_border = 0x706A66,
    .push_ring = vertical_gradient(0xFFFFFF, 0xDCDAD8),
    .push_face = vertical_gradient(0xFCFCFC, 0xD6D3D0),
    .push_ring_hot = vertical_gradient(0xCFF0FF, 0x30A8F0),
    .push_ring_checked = {0xC8C4C0, 0xCECAC6, 0xF2F0EE, 0xF2F0EE},
    .push_face_checked = 0xE0DDDA,
    .push_pressed = 0xE0DDDA,
    .push_face_disabled = 0xF2F1F0,
    .push_caption = 0x000000,
    .disabled_caption = 0xA0A0A0,
    .focus_dots = 0x000000,
    .box_border = 0x706A66,
    .box_face = {0xDCDAD8, 0xF2F0EE, 0xF2F0EE, 0xFFFFFF},
    .box_face_hot = {0xCEF3FF, 0x63CBFF, 0x63CBFF, 0x31B2FF},
    .box_face_pressed = {0xB0ACA8, 0xD2CFCC, 0xD2CFCC, 0xECEAE8},
    .box_face_disabled = 0xFFFFFF,
    .box_hot_inner = 0xE7E7E7,
    .box_hot_inner_ticked = 0xF7F7F7,
    .tick = 0x4A4440,
    .tick_disabled = 0xC8C8C8,
    .edit_frame = 0xA8A4A0,
};

}  // namespace

const SchemeColours& scheme_colours(int scheme) {
    switch (scheme) {
        case 1:
            return kBlue;
        case 3:
            return kSilver;
        default:
            return kGreen;
    }
}

}  // namespace tolvane
