#pragma once
// The release-notes window: the program's change history in a scrolling text box.
// Borderless, modal over the About window.

#include <QDialog>

#include <array>

class QFrame;
class QLabel;
class QPlainTextEdit;

namespace zefrin {

class LabelButton;

class frmHistorial : public QDialog {
    Q_OBJECT

public:
    explicit frmHistorial(QWidget* parent = nullptr);

    std::array<QFrame*, 4> Lines{}; // Line1 to Line4: top, right, bottom, left
    QPlainTextEdit* Text1 = nullptr;
    LabelButton* lblSalir = nullptr; // the control array's only element, index 1: "OK"
    QLabel* Image1 = nullptr;

private slots:
    void lblSalir_Click();

private:
    void buildControls();
};

} // namespace zefrin
