#pragma once
// Key codes and shift states as the key handlers see them: the platform's
// virtual-key numbers (8 Backspace, 13 Enter, 45 Insert, ...) and a shift
// mask of 1 Shift, 2 Ctrl, 4 Alt.
#include <Qt>

namespace keys {

constexpr int vbKeyBack = 8;
constexpr int vbKeyReturn = 13;
constexpr int vbKeyInsert = 45;
constexpr int vbKeyDelete = 46;

constexpr int vbShiftMask = 1;
constexpr int vbCtrlMask = 2;
constexpr int vbAltMask = 4;

int keyCodeFromQt(int qtKey);
int shiftFromQt(Qt::KeyboardModifiers modifiers);

}  // namespace keys

namespace keys {
// Whether the key types a character into the text (not a navigation,
// modifier, function or editing key, and no Ctrl or Alt shortcut).
bool typesCharacter(int keyCode, int shift);
}  // namespace keys
