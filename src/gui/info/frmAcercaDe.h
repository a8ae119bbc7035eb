#pragma once
// The About window: the program's version, its author, two web links and the buttons to the
// release notes and back. Borderless, modal over the main window.

#include <QDialog>

#include <array>

class QFrame;
class QLabel;

namespace zefrin {

class Desktop;
class Dialogs;
class LabelButton;
class LinkLabel;

class frmAcercaDe : public QDialog {
    Q_OBJECT

public:
    frmAcercaDe(Dialogs& dialogs, Desktop& desktop, QWidget* parent = nullptr);

    std::array<QFrame*, 4> Lines{}; // Line1 to Line4: top, right, bottom, left
    QLabel* Label5 = nullptr;       // title
    QLabel* Label1 = nullptr;
    QLabel* Label6 = nullptr; // the program's version
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr; // the author credit
    QLabel* Label4 = nullptr;
    LinkLabel* lblMame = nullptr;
    QLabel* Label10 = nullptr;
    LinkLabel* lblEnlaceRoms = nullptr;
    QLabel* Label12 = nullptr;
    // Index 0 "Notas de las versiones", index 1 "OK".
    std::array<LabelButton*, 2> lblSalir{};
    QLabel* Imagen = nullptr;

private slots:
    void lblMame_Click();
    void lblEnlaceRoms_Click();
    void lblSalir_Click(int index);

private:
    void buildControls();
    void connectControls();
    void followLink(const QUrl& url);

    Dialogs& dialogs_;
    Desktop& desktop_;
};

} // namespace zefrin
