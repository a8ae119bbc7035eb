#include "KeyNameTable.h"

#include "engine/services/IniFile.h"
#include "engine/services/SystemServices.h"
#include "engine/services/TextFile.h"

#include <QStringList>

#include <array>
#include <utility>

namespace zefrin {

namespace {

using KeyLine = std::pair<const char*, const char*>;

// The default [teclas] section in file order. "?t" lines name key codes that have no key in
// the editor's picture; no lookup asks for them.
constexpr std::array<KeyLine, 104> defaultKeyLines{{
    {"t43", "KEYCODE_A"},         {"t61", "KEYCODE_B"},          {"t59", "KEYCODE_C"},
    {"t45", "KEYCODE_D"},         {"t32", "KEYCODE_E"},          {"t46", "KEYCODE_F"},
    {"t47", "KEYCODE_G"},         {"t48", "KEYCODE_H"},          {"t37", "KEYCODE_I"},
    {"t49", "KEYCODE_J"},         {"t50", "KEYCODE_K"},          {"t51", "KEYCODE_L"},
    {"t63", "KEYCODE_M"},         {"t62", "KEYCODE_N"},          {"t38", "KEYCODE_O"},
    {"t39", "KEYCODE_P"},         {"t30", "KEYCODE_Q"},          {"t33", "KEYCODE_R"},
    {"t44", "KEYCODE_S"},         {"t34", "KEYCODE_T"},          {"t36", "KEYCODE_U"},
    {"t60", "KEYCODE_V"},         {"t31", "KEYCODE_W"},          {"t58", "KEYCODE_X"},
    {"t35", "KEYCODE_Y"},         {"t57", "KEYCODE_Z"},          {"t26", "KEYCODE_0"},
    {"t17", "KEYCODE_1"},         {"t18", "KEYCODE_2"},          {"t19", "KEYCODE_3"},
    {"t20", "KEYCODE_4"},         {"t21", "KEYCODE_5"},          {"t22", "KEYCODE_6"},
    {"t23", "KEYCODE_7"},         {"t24", "KEYCODE_8"},          {"t25", "KEYCODE_9"},
    {"t97", "KEYCODE_0_PAD"},     {"t94", "KEYCODE_1_PAD"},      {"t95", "KEYCODE_2_PAD"},
    {"t96", "KEYCODE_3_PAD"},     {"t91", "KEYCODE_4_PAD"},      {"t92", "KEYCODE_5_PAD"},
    {"t93", "KEYCODE_6_PAD"},     {"t88", "KEYCODE_7_PAD"},      {"t89", "KEYCODE_8_PAD"},
    {"t90", "KEYCODE_9_PAD"},     {"?t", "KEYCODE_TILDE"},       {"t27", "KEYCODE_MINUS"},
    {"t101", "KEYCODE_EQUALS"},   {"t28", "KEYCODE_BACKSPACE"},  {"?t", "KEYCODE_TAB"},
    {"t40", "KEYCODE_OPENBRACE"}, {"t41", "KEYCODE_CLOSEBRACE"}, {"t68", "KEYCODE_ENTER"},
    {"t52", "KEYCODE_COLON"},     {"t53", "KEYCODE_QUOTE"},      {"t54", "KEYCODE_BACKSLASH"},
    {"?t", "KEYCODE_BACKSLASH2"}, {"t64", "KEYCODE_COMMA"},      {"t65", "KEYCODE_STOP"},
    {"t66", "KEYCODE_SLASH"},     {"t71", "KEYCODE_SPACE"},      {"t76", "KEYCODE_INSERT"},
    {"t79", "KEYCODE_DEL"},       {"t75", "KEYCODE_HOME"},       {"t78", "KEYCODE_END"},
    {"t74", "KEYCODE_PGUP"},      {"t77", "KEYCODE_PGDN"},       {"t81", "KEYCODE_LEFT"},
    {"t83", "KEYCODE_RIGHT"},     {"t80", "KEYCODE_UP"},         {"t82", "KEYCODE_DOWN"},
    {"t85", "KEYCODE_SLASH_PAD"}, {"t86", "KEYCODE_ASTERISK"},   {"t87", "KEYCODE_MINUS_PAD"},
    {"t99", "KEYCODE_PLUS_PAD"},  {"t98", "KEYCODE_DEL_PAD"},    {"t100", "KEYCODE_ENTER_PAD"},
    {"?t", "KEYCODE_PRTSCR"},     {"?t", "KEYCODE_PAUSE"},       {"t55", "KEYCODE_LSHIFT"},
    {"t67", "KEYCODE_RSHIFT"},    {"t69", "KEYCODE_LCONTROL"},   {"t73", "KEYCODE_RCONTROL"},
    {"t70", "KEYCODE_LALT"},      {"t72", "KEYCODE_RALT"},       {"?t", "KEYCODE_SCRLOCK"},
    {"?t", "KEYCODE_NUMLOCK"},    {"?t", "KEYCODE_CAPSLOCK"},    {"?t", "KEYCODE_LWIN"},
    {"?t", "KEYCODE_RWIN"},       {"?t", "KEYCODE_MENU"},        {"?t", "JOYCODE_1_LEFT"},
    {"?t", "JOYCODE_1_RIGHT"},    {"?t", "JOYCODE_1_UP"},        {"?t", "JOYCODE_1_DOWN"},
    {"?t", "JOYCODE_1_BUTTON1"},  {"?t", "JOYCODE_1_BUTTON2"},   {"?t", "JOYCODE_1_BUTTON3"},
    {"?t", "JOYCODE_1_BUTTON4"},  {"?t", "JOYCODE_1_BUTTON5"},   {"?t", "JOYCODE_1_BUTTON6"},
    {"?t", "JOYCODE_1_START"},    {"?t", "JOYCODE_1_SELECT"},
}};

constexpr std::array<const char*, 2> defaultStems{"COIN", "START"};

constexpr std::array<const char*, 14> defaultSuffixes{
    "_JOYSTICK_UP", "_JOYSTICK_DOWN", "_JOYSTICK_LEFT", "_JOYSTICK_RIGHT", "_BUTTON1",
    "_BUTTON2",     "_BUTTON3",       "_BUTTON4",       "_BUTTON5",        "_BUTTON6",
    "_BUTTON7",     "_BUTTON8",       "_BUTTON9",       "_BUTTON10"};

// Controls 0 and 1 are coin and start; their names carry the player number at the end.
constexpr int firstJoystickControl = 2;
constexpr int controlCount = 16;
constexpr int firstSearchedLabel = 10;
constexpr int lastSearchedLabel = 102;

QString keyLine(const QString& key, const QString& value)
{
    return key + QStringLiteral(" = ") + value;
}

QString controlSection(int control)
{
    return control < firstJoystickControl ? QStringLiteral("comienzo") : QStringLiteral("control");
}

// A key name as labelKey and controlKey write it for a number of 0 or more, without a heap
// block: for the lookups that try every number.
class NumberedKey {
public:
    NumberedKey(char16_t letter, int number);
    QStringView view() const { return QStringView(text_.data(), size_); }

private:
    std::array<char16_t, 12> text_{};
    qsizetype size_ = 0;
};

NumberedKey::NumberedKey(char16_t letter, int number)
{
    text_[0] = letter;
    std::array<char16_t, 10> digits{};
    qsizetype count = 0;
    do {
        digits[static_cast<std::size_t>(count++)] = char16_t(u'0' + number % 10);
        number /= 10;
    } while (number > 0);
    size_ = count + 1;
    for (qsizetype i = 0; i < count; ++i)
        text_[static_cast<std::size_t>(i + 1)] = digits[static_cast<std::size_t>(count - 1 - i)];
}

QString controlKey(int control)
{
    return QStringLiteral("c") + QString::number(control);
}

QString labelKey(int label)
{
    return QStringLiteral("t") + QString::number(label);
}

// The number a single character stands for; anything but a digit counts as 0.
int digitValue(const QString& text, qsizetype position)
{
    if (position >= text.size())
        return 0;
    const QChar c = text.at(position);
    return c >= QLatin1Char('0') && c <= QLatin1Char('9') ? c.unicode() - '0' : 0;
}

// The number n of a key named `letter` + n as labelKey and controlKey write it (the letter in
// either case, as the profile functions compare names), or nothing.
std::optional<int> keyNumber(QStringView key, char16_t letter)
{
    if (key.size() < 2 || key.first(1).compare(QStringView(&letter, 1), Qt::CaseInsensitive) != 0)
        return std::nullopt;
    // Written as QString::number writes a number of a slot: digits only, no leading zero.
    const QStringView digits = key.mid(1);
    if (digits.size() > 1 && digits.front() == QLatin1Char('0'))
        return std::nullopt;
    for (const QChar c : digits) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
    }
    bool isNumber = false;
    const int number = digits.toInt(&isNumber);
    if (!isNumber)
        return std::nullopt;
    return number;
}

// The slot of `values` for key number `number`, or none outside it.
template <std::size_t size>
std::optional<QString>* slotOf(std::array<std::optional<QString>, size>& values,
                               std::optional<int> number)
{
    if (!number || *number < 0 || *number >= static_cast<int>(size))
        return nullptr;
    return &values[static_cast<std::size_t>(*number)];
}

template <std::size_t size>
QString valueAt(const std::array<std::optional<QString>, size>& values, int number)
{
    if (number < 0 || number >= static_cast<int>(size))
        return QString();
    return values[static_cast<std::size_t>(number)].value_or(QString());
}

// A kept value as text: no line reads as an empty value.
QStringView viewOf(const std::optional<QString>& value)
{
    return value ? QStringView(*value) : QStringView();
}

} // namespace

QString keyNameTablePath(const QString& emulatorFolder)
{
    return emulatorPath(emulatorFolder, QStringLiteral("Zefrin.tlc"));
}

QStringList defaultKeyNameTableLines()
{
    QStringList lines{QStringLiteral("[teclas]"), QString(), QString()};
    for (const KeyLine& line : defaultKeyLines)
        lines << keyLine(QLatin1String(line.first), QLatin1String(line.second));
    lines << QString() << QString() << QStringLiteral("[comienzo]") << QString() << QString();
    for (int control = 0; control < firstJoystickControl; ++control)
        lines << keyLine(controlKey(control), QLatin1String(defaultStems[control]));
    lines << QString() << QString() << QStringLiteral("[Control]") << QString() << QString();
    for (int control = firstJoystickControl; control < controlCount; ++control)
        lines << keyLine(controlKey(control),
                         QLatin1String(defaultSuffixes[control - firstJoystickControl]));
    return lines;
}

bool CrearTablaTeclas(const QString& emulatorFolder)
{
    return writeTextLines(keyNameTablePath(emulatorFolder), defaultKeyNameTableLines());
}

QString keyNameOfLabel(const QString& emulatorFolder, int label)
{
    return LeerINI(keyNameTablePath(emulatorFolder), QStringLiteral("teclas"), labelKey(label),
                   QString());
}

QString controlPortText(const QString& emulatorFolder, int control)
{
    return LeerINI(keyNameTablePath(emulatorFolder), controlSection(control), controlKey(control),
                   QString());
}

namespace {

QString portName(const QString& text, int control, int player)
{
    if (control < firstJoystickControl)
        return text + QString::number(player);
    return QStringLiteral("P") + QString::number(player) + text;
}

} // namespace

QString NombrePuerto(const QString& emulatorFolder, int control, int player)
{
    return portName(controlPortText(emulatorFolder, control), control, player);
}

QString keyNameOfLabel(const IniFile& table, int label)
{
    return table.value(QStringLiteral("teclas"), labelKey(label));
}

QString NombrePuerto(const IniFile& table, int control, int player)
{
    return portName(table.value(controlSection(control), controlKey(control)), control, player);
}

int TeclaDeNombre(const QString& emulatorFolder, const QString& name)
{
    // One read for the whole search: the answer is the one a read per label would give.
    return TeclaDeNombre(IniFile(keyNameTablePath(emulatorFolder)), name);
}

int TeclaDeNombre(const IniFile& table, const QString& name)
{
    for (int label = firstSearchedLabel; label <= lastSearchedLabel; ++label) {
        if (table.value(u"teclas", NumberedKey(u't', label).view()) == name)
            return label;
    }
    return 0;
}

int ControlDeNombre(const QString& emulatorFolder, const QString& port)
{
    return ControlDeNombre(IniFile(keyNameTablePath(emulatorFolder)), port);
}

int ControlDeNombre(const IniFile& table, const QString& port)
{
    QString section;
    QString text;
    if (port.startsWith(QLatin1String("COIN")) || port.startsWith(QLatin1String("START"))) {
        section = QStringLiteral("comienzo");
        text = port.chopped(1);
    } else {
        section = QStringLiteral("control");
        text = port.mid(2);
    }
    for (int control = 0; control < controlCount; ++control) {
        if (table.value(section, NumberedKey(u'c', control).view()) == text)
            return control;
    }
    return 0;
}

KeyNames::KeyNames(const QString& emulatorFolder)
    : KeyNames(fileDevice(keyNameTablePath(emulatorFolder)))
{
}

KeyNames::KeyNames(std::unique_ptr<QIODevice> table)
{
    IniReader reader(std::move(table));
    while (const std::optional<IniEntryView> entry = reader.nextView()) {
        std::optional<QString>* slot = nullptr;
        if (entry->section.compare(QLatin1String("teclas"), Qt::CaseInsensitive) == 0)
            slot = slotOf(keyNames_, keyNumber(entry->key, u't'));
        else if (entry->section.compare(QLatin1String("comienzo"), Qt::CaseInsensitive) == 0)
            slot = slotOf(stems_, keyNumber(entry->key, u'c'));
        else if (entry->section.compare(QLatin1String("control"), Qt::CaseInsensitive) == 0)
            slot = slotOf(suffixes_, keyNumber(entry->key, u'c'));
        // The first line of a key answers, also when its value is empty.
        if (slot && !*slot)
            *slot = entry->value.toString();
    }
}

QString KeyNames::keyNameOfLabel(int label) const
{
    return valueAt(keyNames_, label);
}

QString KeyNames::controlPortText(int control) const
{
    return control < firstJoystickControl ? valueAt(stems_, control) : valueAt(suffixes_, control);
}

QString KeyNames::NombrePuerto(int control, int player) const
{
    return portName(controlPortText(control), control, player);
}

int KeyNames::TeclaDeNombre(const QString& name) const
{
    // A search of the 93 names costs less than an index built for every table read.
    for (int label = firstSearchedLabel; label <= lastSearchedLabel; ++label) {
        if (viewOf(keyNames_[static_cast<std::size_t>(label)]) == name)
            return label;
    }
    return 0;
}

int KeyNames::ControlDeNombre(const QString& port) const
{
    const bool coinOrStart =
        port.startsWith(QLatin1String("COIN")) || port.startsWith(QLatin1String("START"));
    const QStringView text = coinOrStart ? QStringView(port).chopped(1) : QStringView(port).mid(2);
    const auto& values = coinOrStart ? stems_ : suffixes_;
    for (int control = 0; control < controlCount; ++control) {
        if (viewOf(values[static_cast<std::size_t>(control)]) == text)
            return control;
    }
    return 0;
}

int JugadorDeNombre(const QString& port)
{
    if (port.startsWith(QLatin1Char('P')))
        return digitValue(port, 1);
    if (port.startsWith(QLatin1String("COIN")))
        return digitValue(port, 4);
    if (port.startsWith(QLatin1String("START")))
        return digitValue(port, 5);
    return 0;
}

} // namespace zefrin
