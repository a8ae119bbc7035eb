#include "frmTeclas.h"

#include "KeyboardPicture.h"
#include "engine/input/ControllerFiles.h"
#include "engine/input/KeyAssignment.h"
#include "engine/services/SystemServices.h"
#include "gui/widgets/Colours.h"
#include "gui/widgets/LabelButton.h"
#include "gui/widgets/Twips.h"

#include <QFrame>
#include <QLabel>

namespace zefrin {

namespace {

constexpr int designWidth = 10035;
constexpr int designHeight = 4590;
constexpr int buttonWidth = 1575;
constexpr int buttonHeight = 255;

const char* const controlCaptions[controlCount] = {
    "Moneda",  "Comienzo", "Arriba",  "Abajo",   "Izquierda", "Derecha", "Botón 1", "Botón 2",
    "Botón 3", "Botón 4",  "Botón 5", "Botón 6", "Botón 7",   "Botón 8", "Botón 9", "Botón 10"};
constexpr int playerLefts[playerCount] = {2775, 4365, 5955, 7545};

QString arrayName(const char* name, int index)
{
    return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(index);
}

QFrame* makeShape(QWidget* parent, const char* name, QRect geometry, const QString& style)
{
    auto* shape = new QFrame(parent);
    shape->setObjectName(QLatin1String(name));
    shape->setGeometry(geometry);
    shape->setStyleSheet(QStringLiteral("QFrame { %1 }").arg(style));
    return shape;
}

QString filled(const QColor& colour)
{
    return QStringLiteral("background-color: %1;").arg(colour.name());
}

} // namespace

frmTeclas::frmTeclas(AppContext& context, DefinedKeysSwitch& keysSwitch, QWidget* parent)
    : QDialog(parent)
    , context_(context)
    , state_(context.state)
    , keysSwitch_(keysSwitch)
{
    setObjectName(QStringLiteral("frmTeclas"));
    setWindowTitle(QStringLiteral("Configuración de los controles de M.A.M.E."));
    buildControls();
    connectControls();
}

frmTeclas::~frmTeclas() = default;

void frmTeclas::buildControls()
{
    setAutoFillBackground(true);
    QPalette windowPalette = palette();
    windowPalette.setColor(QPalette::Window, Colours::windowBackground());
    setPalette(windowPalette);

    const QString lineStyle = filled(Colours::buttonNormal());
    Line1 = makeShape(this, "Line1", twipsRect(1725, 0, 15, designHeight), lineStyle);
    Line2 = makeShape(this, "Line2", twipsRect(1725, 465, 10125 - 1725, 15), lineStyle);
    Line3 = makeShape(this, "Line3", twipsRect(1725, 4140, 10125 - 1725, 15), lineStyle);
    Shape1 = makeShape(this, "Shape1", twipsRect(2010, 825, 7800, 2925),
                       QStringLiteral("border: 1px solid %1;").arg(Colours::buttonNormal().name()));
    Shape2 =
        makeShape(this, "Shape2", twipsRect(2100, 1275, 7620, 2385), filled(QColor(40, 40, 40)));

    for (int i = 0; i < playerCount; ++i)
        lblJugador[i] = makeLabelButton(
            this, arrayName("lblJugador", i), QStringLiteral("Jugador %1").arg(i + 1),
            QStringLiteral("Se verá en gris el jugador seleccionado para su configuración."),
            twipsRect(playerLefts[i], 135, buttonWidth, buttonHeight));
    for (int i = 0; i < controlCount; ++i)
        lblControl[i] = makeLabelButton(
            this, arrayName("lblControl", i), QString::fromUtf8(controlCaptions[i]),
            QStringLiteral("Se verá en gris el control al que asignarás una tecla que "
                           "posteriormente se guarde en el archivo de configuración."),
            twipsRect(120, 180 + 270 * i, buttonWidth, buttonHeight));

    lblAviso = new QLabel(QStringLiteral("No se ha encontrado el archivo de configuraciones, se "
                                         "creará uno nuevo."),
                          this);
    lblAviso->setObjectName(QStringLiteral("lblAviso"));
    lblAviso->setGeometry(twipsRect(3240, 540, 5505, 255));
    lblAviso->setAlignment(Qt::AlignCenter);
    lblAviso->setStyleSheet(
        QStringLiteral("QLabel { color: %1; }").arg(KeyColours::notice().name()));

    lblPorDefecto =
        makeLabelButton(this, QStringLiteral("lblPorDefecto"),
                        QStringLiteral("Dejar la tecla por defecto de M.A.M.E"),
                        QStringLiteral("No define ninguna tecla para este control, deja "
                                       "que M.A.M.E. le de su valor por defecto."),
                        twipsRect(4485, 930, 3015, 255));
    buildKeyboard();

    lblTeclado = makeLabelButton(this, QStringLiteral("lblTeclado"), QStringLiteral("Usar Teclado"),
                                 QStringLiteral("Define las teclas para los controles de M.A.M.E."),
                                 twipsRect(6585, 3735, buttonWidth, buttonHeight));
    lblTeclado->setBackColour(KeyColours::selected());
    lblTeclado->setCursor(Qt::ArrowCursor);
    lblJoystick = makeLabelButton(
        this, QStringLiteral("lblJoystick"), QStringLiteral("Usar Joystick"),
        QStringLiteral("Si posees un control PAD o Joystick podrás asignar este para que un "
                       "jugador pueda jugar a M.A.M.E. con el."),
        twipsRect(8175, 3735, buttonWidth, buttonHeight));
    lblJoystick->setBackColour(Colours::disabledGrey());
    lblJoystick->setCursor(Qt::ArrowCursor);
    lblGuardar =
        makeLabelButton(this, QStringLiteral("lblGuardar"), QStringLiteral("Guardar y salir"),
                        QStringLiteral("Salir guardando los cambios efectuados en las "
                                       "configuraciones de los controles."),
                        twipsRect(4485, 4245, buttonWidth, buttonHeight));
    lblSalir =
        makeLabelButton(this, QStringLiteral("lblSalir"), QStringLiteral("Salir sin guardar"),
                        QStringLiteral("Salir de la configuración de controles sin guardar "
                                       "ningún cambio."),
                        twipsRect(6105, 4245, buttonWidth, buttonHeight));
}

void frmTeclas::buildKeyboard()
{
    for (const KeyPicture& key : keyboardPicture()) {
        LabelButton* button =
            makeLabelButton(this, arrayName("lblTecla", key.number), QString::fromUtf8(key.caption),
                            QString(), twipsRect(key.left, key.top, key.width, key.height));
        if (!isSelectableKey(key.number)) {
            button->setToolTip(QStringLiteral("Teclas deshabilitadas, ya que son las que M.A.M.E. "
                                              "tiene asignadas para sus funciones principales"));
            button->setCursor(Qt::ArrowCursor);
        }
        lblTecla[key.number] = button;
        RestaurarColorTecla(key.number);
    }
}

void frmTeclas::connectControls()
{
    for (int i = 0; i < playerCount; ++i) {
        LabelButton* button = lblJugador[i];
        connect(button, &LabelButton::mouseDown, this, [this, i] { lblJugador_MouseDown(i); });
        connect(button, &LabelButton::mouseUp, this, [this, i] { lblJugador_MouseUp(i); });
        connect(button, &LabelButton::clicked, this, [this, i] { lblJugador_Click(i); });
    }
    for (int i = 0; i < controlCount; ++i) {
        LabelButton* button = lblControl[i];
        connect(button, &LabelButton::mouseDown, this, [this, i] { lblControl_MouseDown(i); });
        connect(button, &LabelButton::mouseUp, this, [this, i] { lblControl_MouseUp(i); });
        connect(button, &LabelButton::clicked, this, [this, i] { lblControl_Click(i); });
    }
    for (int n = 0; n < keyCount; ++n) {
        LabelButton* button = lblTecla[n];
        connect(button, &LabelButton::mouseDown, this, [this, n] { lblTecla_MouseDown(n); });
        connect(button, &LabelButton::mouseUp, this, [this, n] { lblTecla_MouseUp(n); });
        connect(button, &LabelButton::clicked, this, [this, n] { lblTecla_Click(n); });
    }
    connect(lblPorDefecto, &LabelButton::mouseDown, this, &frmTeclas::lblPorDefecto_MouseDown);
    connect(lblPorDefecto, &LabelButton::clicked, this, &frmTeclas::lblPorDefecto_Click);
    givePressedLook(lblGuardar);
    givePressedLook(lblSalir);
    connect(lblGuardar, &LabelButton::clicked, this, &frmTeclas::lblGuardar_Click);
    connect(lblSalir, &LabelButton::clicked, this, &frmTeclas::lblSalir_Click);
    connect(lblJoystick, &LabelButton::clicked, this, &frmTeclas::lblJoystick_Click);
}

void frmTeclas::Form_Load()
{
    setFixedSize(pixels(designWidth), pixels(designHeight));
    state_.TablaTeclas = emptyKeyTable();
    const QString entryFile = controllerEntryPath(state_.emulatorFolder);
    if (FileExists(entryFile)) {
        lblAviso->hide();
        CargarTeclado(entryFile);
    } else {
        lblAviso->show();
    }

    // Player 1 is selected; no control is shown yet.
    JugadorActual = 0;
    ControlActual = 0;
    Mostrando = false;
    for (int i = 0; i < playerCount; ++i)
        lblJugador[i]->setBackColour(i == JugadorActual ? KeyColours::selected()
                                                        : Colours::buttonNormal());
    for (LabelButton* button : lblControl)
        button->setBackColour(Colours::buttonNormal());
    for (int n = 0; n < keyCount; ++n)
        RestaurarColorTecla(n);
    lblPorDefecto->setBackColour(KeyColours::characterKey());
}

void frmTeclas::CargarTeclado(const QString& path)
{
    state_.TablaTeclas = readControllerEntries(state_.emulatorFolder, path);
}

void frmTeclas::RestaurarColorTecla(int n)
{
    lblTecla[n]->setBackColour(restingKeyColour(n));
}

void frmTeclas::lblJugador_MouseDown(int index)
{
    lblJugador[index]->setBackColour(Colours::buttonPressed());
}

void frmTeclas::lblJugador_MouseUp(int index)
{
    lblJugador[index]->setBackColour(index == JugadorActual ? KeyColours::selected()
                                                            : Colours::buttonNormal());
}

void frmTeclas::lblControl_MouseDown(int index)
{
    lblControl[index]->setBackColour(Colours::buttonPressed());
}

void frmTeclas::lblControl_MouseUp(int index)
{
    lblControl[index]->setBackColour(index == ControlActual ? KeyColours::selected()
                                                            : Colours::buttonNormal());
}

void frmTeclas::lblTecla_MouseDown(int n)
{
    lblTecla[n]->setBackColour(KeyColours::pressedKey());
}

void frmTeclas::lblTecla_MouseUp(int n)
{
    RestaurarColorTecla(n);
}

void frmTeclas::lblPorDefecto_MouseDown()
{
    lblPorDefecto->setBackColour(KeyColours::pressedKey());
}

} // namespace zefrin
