#include "KeyboardPicture.h"

#include <algorithm>

namespace zefrin {

namespace {

constexpr int keyWidth = 315;
constexpr int keyHeight = 285;
constexpr int tallKey = 585;

constexpr KeyPicture key(int number, const char* caption, int left, int top, int width = keyWidth,
                         int height = keyHeight)
{
    return {number, caption, left, top, width, height};
}

constexpr std::array<KeyPicture, keyCount> picture{{
    // Escape, function keys, print screen, scroll lock, pause.
    key(0, "Esc", 2205, 1485),
    key(1, "F1", 2775, 1485),
    key(2, "F2", 3105, 1485),
    key(3, "F3", 3435, 1485),
    key(4, "F4", 3765, 1485),
    key(5, "F5", 4230, 1485),
    key(6, "F6", 4560, 1485),
    key(7, "F7", 4890, 1485),
    key(8, "F8", 5220, 1485),
    key(9, "F9", 5685, 1485),
    key(10, "F10", 6015, 1485),
    key(11, "F11", 6345, 1485),
    key(12, "F12", 6675, 1485),
    key(13, "Imp", 7155, 1485),
    key(14, "Des", 7485, 1485),
    key(15, "Pau", 7815, 1485),
    // Digits, editing block, keypad operators.
    key(16, "º", 2205, 1935),
    key(17, "1", 2535, 1935),
    key(18, "2", 2865, 1935),
    key(19, "3", 3195, 1935),
    key(20, "4", 3525, 1935),
    key(21, "5", 3855, 1935),
    key(22, "6", 4185, 1935),
    key(23, "7", 4515, 1935),
    key(24, "8", 4845, 1935),
    key(25, "9", 5175, 1935),
    key(26, "0", 5505, 1935),
    key(27, "'", 5835, 1935),
    key(101, "¡", 6165, 1935),
    key(28, "Borr", 6495, 1935, 495),
    key(76, "Ins", 7155, 1935),
    key(75, "Ini", 7485, 1935),
    key(74, "Re", 7815, 1935),
    key(84, "Nu", 8310, 1935),
    key(85, "/", 8640, 1935),
    key(86, "*", 8970, 1935),
    key(87, "-", 9300, 1935),
    // Q row.
    key(29, "Tab", 2205, 2235, 405),
    key(30, "Q", 2625, 2235),
    key(31, "W", 2955, 2235),
    key(32, "E", 3285, 2235),
    key(33, "R", 3615, 2235),
    key(34, "T", 3945, 2235),
    key(35, "Y", 4275, 2235),
    key(36, "U", 4605, 2235),
    key(37, "I", 4935, 2235),
    key(38, "O", 5265, 2235),
    key(39, "P", 5595, 2235),
    key(40, "`", 5925, 2235),
    key(41, "+", 6255, 2235),
    key(68, "Int", 6675, 2235, keyWidth, tallKey),
    key(79, "Sup", 7155, 2235),
    key(78, "Fin", 7485, 2235),
    key(77, "Av", 7815, 2235),
    key(88, "7", 8310, 2235),
    key(89, "8", 8640, 2235),
    key(90, "9", 8970, 2235),
    key(99, "+", 9300, 2235, keyWidth, tallKey),
    // A row.
    key(42, "B.May", 2205, 2535, 495),
    key(43, "A", 2715, 2535),
    key(44, "S", 3045, 2535),
    key(45, "D", 3375, 2535),
    key(46, "F", 3705, 2535),
    key(47, "G", 4035, 2535),
    key(48, "H", 4365, 2535),
    key(49, "J", 4695, 2535),
    key(50, "K", 5025, 2535),
    key(51, "L", 5355, 2535),
    key(52, "Ñ", 5685, 2535),
    key(53, "´", 6015, 2535),
    key(54, "Ç", 6345, 2535),
    key(91, "4", 8310, 2535),
    key(92, "5", 8640, 2535),
    key(93, "6", 8970, 2535),
    // Z row.
    key(55, "May", 2205, 2835, 330),
    key(56, "<", 2550, 2835),
    key(57, "Z", 2880, 2835),
    key(58, "X", 3210, 2835),
    key(59, "C", 3540, 2835),
    key(60, "V", 3870, 2835),
    key(61, "B", 4200, 2835),
    key(62, "N", 4530, 2835),
    key(63, "M", 4860, 2835),
    key(64, ",", 5190, 2835),
    key(65, ".", 5520, 2835),
    key(66, "-", 5850, 2835),
    key(67, "May", 6180, 2835, 810),
    key(80, "Ar", 7485, 2835),
    key(94, "1", 8310, 2835),
    key(95, "2", 8640, 2835),
    key(96, "3", 8970, 2835),
    key(100, "Int", 9300, 2835, keyWidth, tallKey),
    // Space row.
    key(69, "Ctrl", 2205, 3135, 495),
    key(70, "Alt", 3075, 3135, 495),
    key(71, "Espacio", 3585, 3135, 1995),
    key(72, "Alt Gr", 5595, 3135, 495),
    key(73, "Ctrl", 6495, 3135, 495),
    key(81, "Iz", 7155, 3135),
    key(82, "Ab", 7485, 3135),
    key(83, "De", 7815, 3135),
    key(97, "0", 8310, 3135, 645),
    key(98, ".", 8970, 3135),
}};

constexpr int firstSelectableKey = 17;
constexpr int tabKey = 29;
constexpr int numLockKey = 84;
// "<" and the keypad's operators and enter key are special keys although one character.
constexpr std::array<int, 6> shortSpecialKeys{56, 85, 86, 87, 99, 100};

} // namespace

const std::array<KeyPicture, keyCount>& keyboardPicture()
{
    return picture;
}

const KeyPicture& keyPicture(int number)
{
    const auto found = std::find_if(picture.begin(), picture.end(),
                                    [number](const KeyPicture& k) { return k.number == number; });
    return found != picture.end() ? *found : picture.front();
}

QString keyCaption(int number)
{
    return QString::fromUtf8(keyPicture(number).caption);
}

bool isSelectableKey(int number)
{
    return number >= firstSelectableKey && number < keyCount && number != tabKey &&
           number != numLockKey;
}

QColor restingKeyColour(int number)
{
    if (!isSelectableKey(number))
        return KeyColours::disabledKey();
    const qsizetype length = keyCaption(number).size();
    const bool special = (length >= 2 && length <= 6) ||
                         std::find(shortSpecialKeys.begin(), shortSpecialKeys.end(), number) !=
                             shortSpecialKeys.end();
    return special ? KeyColours::selected() : KeyColours::characterKey();
}

} // namespace zefrin
