#pragma once
// The controls editor's picture of a Spanish PC keyboard: 102 keys, each a label numbered
// 0 to 101, at its place in twips. The numbers are the ones the key-name table Zefrin.tlc
// uses ("t43" is the key "A"). Keys 0 to 16, 29 and 84 (Esc, the function keys, "º", Tab,
// Num Lock) are the emulator's own keys and cannot be chosen.

#include <QColor>
#include <QString>

#include <array>

namespace zefrin {

struct KeyPicture {
    int number;
    const char* caption; // UTF-8
    int left;
    int top;
    int width;
    int height;
};

constexpr int keyCount = 102;

// Every key of the picture, row by row from the top, left to right within a row.
const std::array<KeyPicture, keyCount>& keyboardPicture();

// The key numbered `number`, 0 to 101.
const KeyPicture& keyPicture(int number);
QString keyCaption(int number);

bool isSelectableKey(int number);

// The colour a key shows when it is neither pressed nor highlighted: the emulator's own keys
// pink, the special keys (captions of 2 to 6 characters, "<" and the keypad operators) grey,
// the character keys white.
QColor restingKeyColour(int number);

// The editor's colours besides the shared button colours.
namespace KeyColours {
inline QColor selected() // selected control or player, special keys, lblTeclado
{
    return QColor(224, 224, 224);
}
inline QColor characterKey() // also lblPorDefecto when it is not highlighted
{
    return QColor(255, 255, 255);
}
inline QColor disabledKey()
{
    return QColor(255, 192, 192);
}
inline QColor pressedKey() // also lblPorDefecto while pressed
{
    return QColor(192, 192, 255);
}
inline QColor highlight() // the key, or lblPorDefecto, holding the selected control's key
{
    return QColor(192, 255, 255);
}
inline QColor notice()
{
    return QColor(255, 0, 0);
}
} // namespace KeyColours

} // namespace zefrin
