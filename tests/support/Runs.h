#pragma once
// Waiting in tests for what the program does in the background: emulator runs and the jobs
// built on them tell their end through signals.

#include "engine/romman/ArchiveCheck.h"
#include "engine/services/EmulatorRunner.h"
#include "gui/app/frmCargador.h"

#include <QAbstractItemView>

#include <QEventLoop>
#include <QTest>
#include <QTimer>

#include <optional>

namespace zefrin::test {

// The value `signal` of `sender` carries next, or nothing when it did not come in time.
template <typename Sender, typename Value>
std::optional<std::decay_t<Value>> nextSignal(Sender* sender, void (Sender::*signal)(Value),
                                              int timeoutMs = 120000)
{
    std::optional<std::decay_t<Value>> value;
    QEventLoop loop;
    QObject::connect(sender, signal, &loop, [&](Value v) {
        value = v;
        loop.quit();
    });
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    loop.exec();
    return value;
}
template <typename Sender>
bool nextSignal(Sender* sender, void (Sender::*signal)(), int timeoutMs = 120000)
{
    bool came = false;
    QEventLoop loop;
    QObject::connect(sender, signal, &loop, [&] {
        came = true;
        loop.quit();
    });
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    loop.exec();
    return came;
}

// Does `act`, then waits for `signal` of `sender` (which may come during `act`). False when
// `act` says there is nothing to wait for (returns false) or the signal did not come in time.
template <typename Sender, typename Act>
bool actToSignal(Sender* sender, void (Sender::*signal)(), Act act, int timeoutMs = 120000)
{
    bool came = false;
    const QMetaObject::Connection told =
        QObject::connect(sender, signal, sender, [&came] { came = true; });
    const bool waits = act();
    if (waits && !came)
        (void)QTest::qWaitFor([&came] { return came; }, timeoutMs);
    QObject::disconnect(told);
    return waits && came;
}

// Runs the command through the runner and waits for its end.
ShellResult runToEnd(EmulatorRunner& runner, const CommandLine& command);

// A check to its end, whether it ended at once or after the emulator's run.
CheckOutcome checkToEnd(ArchiveChecker& checker, const QString& archive, const QString& candidate);

// The main window's start-up to its end: false when the program ended instead, or the start-up
// did not finish in time.
bool loadToEnd(frmCargador& window);

// A mouse double click on a row of a list, the second press sent as the window system sends
// it (a click, then a double-click press, then the release).
void doubleClickRow(QAbstractItemView* list, int row);
// The texts a list shows, row by row.
QStringList shownRows(const QAbstractItemView* list);

// Keeps the runner busy for about `ms` milliseconds, as an emulator run would.
void occupy(EmulatorRunner& runner, int ms);

} // namespace zefrin::test
