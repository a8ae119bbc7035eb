#include "Runs.h"

#include <QApplication>
#include <QMouseEvent>
#include <QtTest>

namespace zefrin::test {

namespace {

class Sink : public QObject {
public:
    using QObject::QObject;
    void ended(const ShellResult&) {}
};

} // namespace

ShellResult runToEnd(EmulatorRunner& runner, const CommandLine& command)
{
    Sink sink;
    if (!runner.start(command, &sink, &Sink::ended))
        return {false, QStringLiteral("busy"), -1, false};
    return nextSignal(&runner, &EmulatorRunner::finished).value_or(ShellResult{});
}

CheckOutcome checkToEnd(ArchiveChecker& checker, const QString& archive, const QString& candidate)
{
    if (const std::optional<CheckOutcome> outcome = checker.CheckArchiveAsGame(archive, candidate))
        return *outcome;
    return nextSignal(&checker, &ArchiveChecker::checked).value_or(CheckOutcome::EmulatorNotRun);
}

bool loadToEnd(frmCargador& window)
{
    return actToSignal(&window, &frmCargador::loaded, [&window] { return window.Form_Load(); });
}

void doubleClickRow(QAbstractItemView* list, int row)
{
    QWidget* viewport = list->viewport();
    const QPoint at = list->visualRect(list->model()->index(row, 0)).center();
    QTest::mouseClick(viewport, Qt::LeftButton, {}, at);
    QMouseEvent press(QEvent::MouseButtonDblClick, at, viewport->mapToGlobal(at), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &press);
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, at);
}

QStringList shownRows(const QAbstractItemView* list)
{
    QStringList rows;
    const QAbstractItemModel* model = list->model();
    for (int row = 0; row < model->rowCount(); ++row)
        rows << model->index(row, 0).data().toString();
    return rows;
}

void occupy(EmulatorRunner& runner, int ms)
{
    // The runner owns the one told.
    auto* sink = new Sink(&runner);
    (void)runner.start(CommandLine(QStringLiteral("/bin/sleep"), {QString::number(ms / 1000.0)}),
                       sink, &Sink::ended);
}

} // namespace zefrin::test
