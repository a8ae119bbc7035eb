#pragma once
// The key-name table Zefrin.tlc: ties the keys of the controls editor's keyboard picture and
// its control buttons to the names the emulator uses in its controller files. An INI file
// with three sections:
//   [teclas]    t<label> = KEYCODE_...   the emulator's key code of a key of the picture;
//                ?t = ...                 names the table knows but the picture cannot offer
//   [comienzo]  c0, c1 = COIN, START     port-name stems of the coin and start controls
//   [Control]   c2 .. c15 = _JOYSTICK_UP .. _BUTTON10   port-name suffixes
// The program writes it only when it is missing, so a hand edit is kept. Each lookup below
// reads the file anew; a command that makes many reads it once through a KeyNames. Either way
// an edit made before the command is seen.

#include <QIODevice>
#include <QString>

#include <array>
#include <memory>
#include <optional>

namespace zefrin {

class IniFile;

// EmulatorFolder + "/Zefrin.tlc".
QString keyNameTablePath(const QString& emulatorFolder);

// Writes the default table, replacing any file of that name. False when it cannot be written.
[[nodiscard]] bool CrearTablaTeclas(const QString& emulatorFolder);

// The default table's lines, in file order (each written followed by CR LF).
QStringList defaultKeyNameTableLines();

// The emulator key-code name of the picture's key `label`, or "" when the table has none.
QString keyNameOfLabel(const QString& emulatorFolder, int label);

// The table's port-name stem (controls 0 and 1) or suffix (controls 2 to 15) of `control`.
QString controlPortText(const QString& emulatorFolder, int control);

// The emulator's port name of a control for player 1 to 4: COIN1, START3, P1_JOYSTICK_UP,
// P4_BUTTON10 with the default table.
QString NombrePuerto(const QString& emulatorFolder, int control, int player);

// The label number, 10 to 102, whose key-code name is `name` (letter case counts; the
// smallest such label wins), or 0.
int TeclaDeNombre(const QString& emulatorFolder, const QString& name);

// The control number, 0 to 15, whose port name matches `port`, or 0.
int ControlDeNombre(const QString& emulatorFolder, const QString& port);

// The same lookups in a table already read.
QString keyNameOfLabel(const IniFile& table, int label);
QString NombrePuerto(const IniFile& table, int control, int player);
int TeclaDeNombre(const IniFile& table, const QString& name);
int ControlDeNombre(const IniFile& table, const QString& port);

// The player digit written in a port name (P2_..., COIN3, START4), or 0.
int JugadorDeNombre(const QString& port);

// The table read once, for a command that makes many lookups: each answers as the lookup of
// the same name above, for the labels 0 to 102 and the controls 0 to 15 (every other label
// or control has no name here). The file is read line by line and only the values those
// lookups can ask for are kept, so a table of any size is read without holding it.
class KeyNames {
public:
    explicit KeyNames(const QString& emulatorFolder);
    // The table's bytes from elsewhere than the folder's file.
    explicit KeyNames(std::unique_ptr<QIODevice> table);

    QString keyNameOfLabel(int label) const;
    QString controlPortText(int control) const;
    QString NombrePuerto(int control, int player) const;
    int TeclaDeNombre(const QString& name) const;
    int ControlDeNombre(const QString& port) const;

    static constexpr int lastLabel = 102;
    static constexpr int controlCount = 16;

private:
    // The value of each key the lookups ask for, from its first line; none: no line.
    std::array<std::optional<QString>, lastLabel + 1> keyNames_;
    std::array<std::optional<QString>, controlCount> stems_;    // [comienzo] c0 .. c15
    std::array<std::optional<QString>, controlCount> suffixes_; // [control] c0 .. c15
};

} // namespace zefrin
