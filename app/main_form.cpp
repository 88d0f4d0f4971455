#include "main_form.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QWindow>

#include "conversion.h"
#include "glyphs.h"
#include "ini_file.h"
#include "qt_user_interface.h"
#include "solution_export.h"

namespace tv {
namespace {

constexpr int kHelpContext = 3;

// MS Sans Serif where it exists; elsewhere the free fonts closest to it.
QFont SansSerif(int pixels, bool bold) {
  QFont font;
  font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"),
                    QStringLiteral("Liberation Sans"), QStringLiteral("Arial")});
  font.setPixelSize(pixels);
  font.setBold(bold);
  return font;
}

// Arial, or Liberation Sans, its metric-compatible free twin.
QFont Arial(int pixels, bool bold) {
  QFont font;
  font.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
  font.setPixelSize(pixels);
  font.setBold(bold);
  return font;
}

QLabel* MakeLabel(const char* text, QRect geometry, QFont font, QColor color, QWidget* parent) {
  auto* label = new QLabel(QString::fromUtf8(text), parent);
  label->setGeometry(geometry);
  label->setFont(font);
  label->setAttribute(Qt::WA_TranslucentBackground);  // the gradient shows through
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, color);
  label->setPalette(palette);
  return label;
}

QPushButton* MakeButton(const char* text, QRect geometry, const QIcon& glyph, QWidget* parent) {
  auto* button = new QPushButton(glyph, QString::fromUtf8(text), parent);
  button->setGeometry(geometry);
  return button;
}

}  // namespace

TMForm::TMForm(ProgramState& program, ApplicationHelp& help,
               const std::vector<std::string>& arguments, std::filesystem::path workDirectory,
               std::filesystem::path resultFile)
    : program_(program),
      help_(help),
      context_(program, std::move(workDirectory)),
      resultFile_(std::move(resultFile)),
      ui_(std::make_unique<QtUserInterface>(this, [this] { CloseForm(); })) {
  BuildComponents();
  FormCreate(arguments);
}

void TMForm::BuildComponents() {
  setObjectName(QStringLiteral("MForm"));
  setWindowTitle(QStringLiteral("Exportar e importar datos entre Vormelan y SIGAD"));
  // A fixed dialog border with the close box only.
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
  setFixedSize(632, 266);
  setWindowIcon(QIcon(ApplicationIcon()));
  setFont(SansSerif(11, false));
  setAutoFillBackground(true);
  QPalette background = palette();
  background.setColor(QPalette::Window, background.color(QPalette::Button));
  setPalette(background);

  // The strip first: the direction panels lie above it, over its top row.
  Draw3D1 =
      new GradientPanel(QColor(204, 216, 230), QColor(207, 242, 254), QColor(194, 205, 254), this);
  Draw3D1->setGeometry(0, 168, 633, 97);
  Draw3D2 =
      new GradientPanel(QColor(255, 238, 221), QColor(255, 255, 255), QColor(249, 211, 125), this);
  Draw3D2->setGeometry(0, 0, 315, 169);
  Draw3D3 =
      new GradientPanel(QColor(255, 238, 221), QColor(255, 255, 255), QColor(249, 211, 125), this);
  Draw3D3->setGeometry(316, 0, 317, 169);

  const QColor text = palette().color(QPalette::WindowText);
  Label3 = MakeLabel("Transformar datos desde SIGAD hacia Vormelan ", QRect(24, 24, 265, 57),
                     Arial(16, true), text, Draw3D2);
  Label3->setWordWrap(true);
  BExportar = MakeButton("Aceptar", QRect(96, 120, 89, 25), CheckMarkGlyph(), Draw3D2);
  Label4 = MakeLabel("Transformar datos desde Vormelan hacia SIGAD", QRect(8, 24, 305, 57),
                     Arial(16, true), text, Draw3D3);
  Label4->setWordWrap(true);
  BImportar = MakeButton("Aceptar", QRect(96, 120, 89, 25), CheckMarkGlyph(), Draw3D3);
  Label1 = MakeLabel("TransVormelanSIGAD para QV31 V-1.0", QRect(8, 72, 225, 13),
                     SansSerif(11, true), Qt::red, Draw3D1);
  BClose = MakeButton("&Salir", QRect(256, 32, 89, 25), CloseGlyph(), Draw3D1);
  Button1 = MakeButton("F1 Ayuda", QRect(48, 40, 75, 25), QIcon(), Draw3D1);

  const std::pair<QWidget*, const char*> names[] = {
      {Draw3D1, "Draw3D1"},     {Draw3D2, "Draw3D2"},     {Draw3D3, "Draw3D3"},
      {Label1, "Label1"},       {Label3, "Label3"},       {Label4, "Label4"},
      {BExportar, "BExportar"}, {BImportar, "BImportar"}, {BClose, "BClose"},
      {Button1, "Button1"}};
  for (const auto& [widget, name] : names) widget->setObjectName(QString::fromLatin1(name));
  for (QWidget* widget : {static_cast<QWidget*>(this), static_cast<QWidget*>(Draw3D1),
                          static_cast<QWidget*>(Draw3D2), static_cast<QWidget*>(Draw3D3),
                          static_cast<QWidget*>(BExportar), static_cast<QWidget*>(BImportar),
                          static_cast<QWidget*>(BClose), static_cast<QWidget*>(Button1)}) {
    widget->setProperty("helpContext", kHelpContext);
  }
  // The strip's buttons first, then the panels from left to right.
  QWidget::setTabOrder(BClose, Button1);
  QWidget::setTabOrder(Button1, BExportar);
  QWidget::setTabOrder(BExportar, BImportar);

  connect(BExportar, &QPushButton::clicked, this, [this] { BExportarClick(); });
  connect(BImportar, &QPushButton::clicked, this, [this] { BImportarClick(); });
  connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
  connect(BClose, &QPushButton::clicked, this, [this] { CloseForm(); });
}

void TMForm::FormCreate(const std::vector<std::string>& arguments) {
  program_.resultCode = 0;
  const Startup startup = ReadCommandLine(arguments);
  if (!startup.error.empty()) {
    ReportError(nullptr, startup.error);
  } else if (startup.hosted) {
    EmbedIn(startup.hostWindow);
    program_.hostedMode = true;
    if (startup.panel == Startup::Panel::TimetableToSigad) {
      Draw3D2->hide();
      Draw3D3->setGeometry(rect());
      Draw3D3->raise();
    }
    if (startup.panel == Startup::Panel::SigadToTimetable) {
      Draw3D3->hide();
      Draw3D2->setGeometry(rect());
      Draw3D2->raise();
    }
  }
  if (!program_.hostedMode) move(194, 167);
}

// The window becomes a child of the host's window, at its top-left corner,
// without a border, keeping its size. On X11 the handle is a window id.
void TMForm::EmbedIn(std::uint32_t hostWindow) {
  setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
  winId();  // the native window must exist before it can change parent
  windowHandle()->setParent(QWindow::fromWinId(static_cast<WId>(hostWindow)));
  move(0, 0);
}

template <typename Handler>
void TMForm::Guarded(Handler handler) {
  try {
    handler();
  } catch (const std::exception& error) {
    ReportError(this, error.what());
  }
}

void TMForm::BExportarClick() {
  Guarded([this] { RunConversion(context_, *ui_); });
}

void TMForm::BImportarClick() {
  Guarded([this] { RunSolutionExport(context_, *ui_); });
}

void TMForm::Button1Click() {
  Guarded([this] {
    help_.helpFile = "SIGAD.chm";
    // Help command 3 of the WinHelp set: the table of contents, not context 3.
    help_.system.ShowTableOfContents(help_.helpFile);
  });
}

void TMForm::keyPressEvent(QKeyEvent* event) {
  if (event->key() != Qt::Key_F1 || event->modifiers() != Qt::NoModifier) {
    QWidget::keyPressEvent(event);
    return;
  }
  int context = 0;
  for (QWidget* w = QApplication::focusWidget(); w && context == 0; w = w->parentWidget()) {
    context = w->property("helpContext").toInt();
  }
  if (context == 0) context = property("helpContext").toInt();
  Guarded([this, context] { help_.system.ShowHelpContext(context, help_.helpFile); });
}

bool TMForm::Embedded() const { return windowHandle() && !windowHandle()->isTopLevel(); }

bool TMForm::FormClose() {
  if (!program_.hostedMode) return true;
  try {
    WriteIniValue(resultFile_, "Transformadores", "Transformado",
                  std::to_string(program_.resultCode));
    return true;
  } catch (const std::exception& error) {
    ReportError(this, error.what());
    return false;
  }
}

void TMForm::CloseForm() {
  if (!Embedded()) {
    close();
    return;
  }
  // An embedded window is no top-level window of Qt's: closing it neither
  // runs the close event nor ends the event loop, so both happen here.
  if (!FormClose()) return;
  hide();
  QCoreApplication::exit(0);
}

void TMForm::closeEvent(QCloseEvent* event) {
  if (FormClose()) {
    event->accept();
  } else {
    event->ignore();
  }
}

}  // namespace tv
