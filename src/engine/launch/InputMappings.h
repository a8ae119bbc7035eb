#pragma once
// The input mappings of the emulator's settings files (cfg/GAME.cfg, cfg/default.cfg).
//
// Today's emulator keeps in one file a game's DIP switches, coin counters, sliders, video
// choices... and the keys the user gave its inputs: each such mapping is a <newseq> element of
// a <port> of the file's <input>. The port of a mapped analog input may also hold its settings
// (sensitivity, keydelta... as attributes), and those stay. The mappings of cfg override the
// controller file, the rest does not touch the keys. These split the two, keeping every other
// byte as it is, so that a run with the user's defined keys sees everything but the mappings.
//
// The files are XML of the emulator's own simple layout (<mameconfig>, <system name=...>,
// <input>, <port>). A file that is not well formed gives nothing.

#include <QByteArray>

#include <optional>

namespace zefrin {

// The file without its input mappings: a port that holds nothing else goes whole, else its
// <newseq> elements go; each with the line break and indentation before it.
std::optional<QByteArray> withoutInputMappings(const QByteArray& settings);

// The file the emulator saved (`saved`), its own mappings dropped, with the mappings of
// `users` (byte for byte, each on its own line as it stood there) put into the port of the
// same input (tag, type and mask) where `saved` has one, else, with their port, at the end of
// the <input> of the system they belong to; the <input> element is added, and a system written as
// an empty element opened, when the saved file has none. Applying it again to its own result
// gives the same bytes.
std::optional<QByteArray> withInputMappingsOf(const QByteArray& saved, const QByteArray& users);

} // namespace zefrin
