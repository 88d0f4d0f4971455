#include "main_form.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <clocale>
#include <functional>

#include "html_help_viewer.h"
#include "qt_user_interface.h"
#include "scripted_ui.h"
#include "test_support.h"
#include "work_table.h"

namespace tv {
namespace {

// Calls `answer` on the next modal dialog or message box that opens.
void OnNextModal(std::function<void(QWidget*)> answer) {
  auto* poll = new QTimer;
  QObject::connect(poll, &QTimer::timeout, [poll, answer] {
    if (QWidget* modal = QApplication::activeModalWidget()) {
      poll->stop();
      poll->deleteLater();
      answer(modal);
    }
  });
  poll->start(5);
}

// The text of the next message box, which is then dismissed with its one
// button "Aceptar".
std::shared_ptr<std::vector<QString>> CollectNextBox() {
  auto seen = std::make_shared<std::vector<QString>>();
  OnNextModal([seen](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    ASSERT_NE(box, nullptr);
    seen->push_back(box->windowTitle());
    seen->push_back(box->text());
    seen->push_back(box->icon() == QMessageBox::Critical ? "error" : "info");
    ASSERT_EQ(box->buttons().size(), 1);
    seen->push_back(box->buttons().front()->text());
    box->buttons().front()->click();
  });
  return seen;
}

class MainFormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directory(tables_);
    ASSERT_TRUE(std::setlocale(LC_NUMERIC, "es_ES.UTF-8"));
  }
  void TearDown() override { std::setlocale(LC_NUMERIC, "C"); }
  std::unique_ptr<TMForm> Form(const std::vector<std::string>& arguments = {}) {
    return std::make_unique<TMForm>(program_, help_, arguments, tables_, ini_);
  }

  test::TempDir dir_;
  std::filesystem::path tables_ = dir_ / "VTEMP";
  std::filesystem::path ini_ = dir_ / "Vormelan.ini";
  ProgramState program_;
  ApplicationHelp help_;
};

TEST_F(MainFormTest, WindowLayoutCaptionsAndTabOrder) {
  auto form = Form();
  EXPECT_EQ(form->windowTitle(), "Exportar e importar datos entre Vormelan y SIGAD");
  EXPECT_EQ(form->size(), QSize(632, 266));
  EXPECT_EQ(form->minimumSize(), form->maximumSize()) << "cannot be resized";
  EXPECT_FALSE(form->windowFlags() & Qt::WindowMinimizeButtonHint);
  EXPECT_FALSE(form->windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_TRUE(form->windowFlags() & Qt::WindowCloseButtonHint);
  EXPECT_EQ(form->pos(), QPoint(194, 167));
  EXPECT_EQ(form->windowIcon().pixmap(48, 48).size(), QSize(48, 48));

  const std::tuple<QWidget*, QWidget*, QRect> layout[] = {
      {form->Draw3D2, form.get(), QRect(0, 0, 315, 169)},
      {form->Draw3D3, form.get(), QRect(316, 0, 317, 169)},
      {form->Draw3D1, form.get(), QRect(0, 168, 633, 97)},
      {form->Label3, form->Draw3D2, QRect(24, 24, 265, 57)},
      {form->BExportar, form->Draw3D2, QRect(96, 120, 89, 25)},
      {form->Label4, form->Draw3D3, QRect(8, 24, 305, 57)},
      {form->BImportar, form->Draw3D3, QRect(96, 120, 89, 25)},
      {form->Label1, form->Draw3D1, QRect(8, 72, 225, 13)},
      {form->BClose, form->Draw3D1, QRect(256, 32, 89, 25)},
      {form->Button1, form->Draw3D1, QRect(48, 40, 75, 25)},
  };
  for (const auto& [widget, parent, geometry] : layout) {
    EXPECT_EQ(widget->parentWidget(), parent) << widget->objectName().toStdString();
    EXPECT_EQ(widget->geometry(), geometry) << widget->objectName().toStdString();
  }
  EXPECT_EQ(form->Label3->text(), "Transformar datos desde SIGAD hacia Vormelan ");
  EXPECT_EQ(form->Label4->text(), "Transformar datos desde Vormelan hacia SIGAD");
  EXPECT_EQ(form->Label1->text(), "TransVormelanSIGAD para QV31 V-1.0");
  EXPECT_EQ(form->Label1->palette().color(QPalette::WindowText), QColor(Qt::red));
  EXPECT_TRUE(form->Label1->font().bold());
  EXPECT_EQ(form->Label3->font().pixelSize(), 16);
  EXPECT_TRUE(form->Label3->wordWrap());
  EXPECT_EQ(form->BExportar->text(), "Aceptar");
  EXPECT_FALSE(form->BExportar->icon().isNull());
  EXPECT_EQ(form->BClose->text(), "&Salir");
  EXPECT_FALSE(form->BClose->icon().isNull());
  EXPECT_EQ(form->Button1->text(), "F1 Ayuda");
  for (QWidget* w : {static_cast<QWidget*>(form.get()), static_cast<QWidget*>(form->Draw3D1),
                     static_cast<QWidget*>(form->Draw3D2), static_cast<QWidget*>(form->Draw3D3),
                     static_cast<QWidget*>(form->BExportar), static_cast<QWidget*>(form->BImportar),
                     static_cast<QWidget*>(form->BClose), static_cast<QWidget*>(form->Button1)}) {
    EXPECT_EQ(w->property("helpContext").toInt(), 3) << w->objectName().toStdString();
  }
  // The strip's buttons first, then the panels from left to right.
  auto nextTabStop = [](QWidget* from) {
    QWidget* next = from->nextInFocusChain();
    while (!(next->focusPolicy() & Qt::TabFocus)) next = next->nextInFocusChain();
    return next;
  };
  EXPECT_EQ(nextTabStop(form->BClose), form->Button1);
  EXPECT_EQ(nextTabStop(form->Button1), form->BExportar);
  EXPECT_EQ(nextTabStop(form->BExportar), form->BImportar);
  EXPECT_EQ(nextTabStop(form->BImportar), form->BClose);
}

TEST_F(MainFormTest, PanelsAreThreeColourGradients) {
  auto form = Form();
  const QImage image = form->grab().toImage();
  auto near = [&](QPoint at, QColor expected) {
    const QColor c = image.pixelColor(at);
    return std::abs(c.red() - expected.red()) <= 3 && std::abs(c.green() - expected.green()) <= 3 &&
           std::abs(c.blue() - expected.blue()) <= 3;
  };
  const std::tuple<QPoint, QColor> samples[] = {
      {{2, 0}, QColor(255, 238, 221)},     {{2, 84}, QColor(255, 255, 255)},
      {{2, 167}, QColor(249, 211, 125)},   {{630, 0}, QColor(255, 238, 221)},
      {{630, 168}, QColor(249, 211, 125)}, {{600, 169}, QColor(204, 216, 230)},
      {{600, 216}, QColor(207, 242, 254)}, {{600, 264}, QColor(194, 205, 254)},
  };
  for (const auto& [at, colour] : samples) {
    EXPECT_TRUE(near(at, colour)) << at.x() << "," << at.y() << " is "
                                  << image.pixelColor(at).name().toStdString();
  }
}

TEST_F(MainFormTest, StandAloneStartShowsBothPanelsAndWritesNoResult) {
  for (const std::vector<std::string>& arguments :
       {std::vector<std::string>{}, {"exportar"}, {"exportar", "1A2B", "tres"}}) {
    ProgramState program;
    auto form = std::make_unique<TMForm>(program, help_, arguments, tables_, ini_);
    form->show();
    EXPECT_FALSE(program.hostedMode);
    EXPECT_TRUE(form->Draw3D2->isVisible() && form->Draw3D3->isVisible() &&
                form->Draw3D1->isVisible());
    form->BClose->click();
    EXPECT_FALSE(form->isVisible());
    EXPECT_FALSE(std::filesystem::exists(ini_));
  }
}

TEST_F(MainFormTest, BadHandleIsReportedAndTheStartIsStandAlone) {
  auto seen = CollectNextBox();
  auto form = Form({"importar", "0x1A2B"});
  EXPECT_EQ(*seen,
            (std::vector<QString>{"TransVormosSigad", "'$0x1A2B' no es un valor entero válido.",
                                  "error", "Aceptar"}));
  EXPECT_FALSE(program_.hostedMode);
  EXPECT_FALSE(form->Draw3D2->isHidden());
  EXPECT_FALSE(form->Draw3D3->isHidden());
}

TEST_F(MainFormTest, HostedModeShowsOnlyTheRequestedPanel) {
  {
    auto form = Form({"EXPORTAR", "1A2B"});
    EXPECT_TRUE(program_.hostedMode);
    EXPECT_TRUE(form->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(form->Draw3D3->isHidden());
    EXPECT_EQ(form->Draw3D2->geometry(), form->rect());
    EXPECT_EQ(form->size(), QSize(632, 266)) << "the window keeps its size";
  }
  ProgramState program;
  auto form = std::make_unique<TMForm>(
      program, help_, std::vector<std::string>{"importar", "00001A2B"}, tables_, ini_);
  EXPECT_TRUE(form->Draw3D2->isHidden());
  EXPECT_EQ(form->Draw3D3->geometry(), form->rect());
  ProgramState other;
  auto both = std::make_unique<TMForm>(other, help_, std::vector<std::string>{"export", "1A2B"},
                                       tables_, ini_);
  EXPECT_TRUE(other.hostedMode);
  EXPECT_FALSE(both->Draw3D2->isHidden() || both->Draw3D3->isHidden());
}

TEST_F(MainFormTest, HostedCloseWritesTheResultCode) {
  test::WriteFile(ini_, "[Otro]\r\nA=1\r\n");
  auto form = Form({"exportar", "1A2B"});
  form->show();
  form->close();
  EXPECT_EQ(test::ReadFile(ini_), "[Otro]\r\nA=1\r\n[Transformadores]\r\nTransformado=0\r\n");

  // Unwritable: reported, and the window stays open.
  auto blocked =
      std::make_unique<TMForm>(program_, help_, std::vector<std::string>{"importar", "1"}, tables_,
                               dir_ / "no-such-folder" / "Vormelan.ini");
  blocked->show();
  auto seen = CollectNextBox();
  blocked->close();
  ASSERT_EQ(seen->size(), 4u);
  EXPECT_EQ((*seen)[1],
            QString::fromStdString("Unable to write to " +
                                   (dir_ / "no-such-folder" / "Vormelan.ini").string() + "."));
  EXPECT_TRUE(blocked->isVisible());
}

TEST_F(MainFormTest, ButtonsRunBothDirections) {
  const auto sample = test::DataDir() / ".." / ".." / "samples";
  std::filesystem::copy_file(sample / "centro.xml", dir_ / "centro.xml");
  auto form = Form({"exportar", "1A2B"});
  auto ui = std::make_unique<test::ScriptedUi>();
  test::ScriptedUi& script = *ui;
  form->SetUserInterface(std::move(ui));
  form->show();
  script.answers = {(dir_ / "centro.xml").string()};
  form->BExportar->click();
  EXPECT_EQ(script.shown, std::vector<std::string>{"Proceso finalizado"});
  EXPECT_EQ(program_.resultCode, 1);
  EXPECT_EQ(script.closes, 1) << "hosted, a completed run closes the window";
  EXPECT_TRUE(std::filesystem::exists(tables_ / "ASIGT.DBF"));

  std::filesystem::copy_file(sample / "SOLUC.DBF", tables_ / "SOLUC.DBF");
  script.answers = {std::nullopt};  // cancelled: the file chosen before serves again
  form->BImportar->click();
  EXPECT_EQ(script.shown.back(), "Proceso finalizado");
  EXPECT_TRUE(std::filesystem::exists(dir_ / "ResultadoVormoscentro.xml"));
}

TEST_F(MainFormTest, ErrorsEndInTheErrorReportAndTheWindowStaysOpen) {
  test::WriteFile(dir_ / "horas.xml",
                  "<centro><asignaturas><dasignatura nhoras=\"x\"/></asignaturas></centro>");
  auto form = Form({"exportar", "1A2B"});
  auto ui = std::make_unique<test::ScriptedUi>();
  ui->answers = {(dir_ / "horas.xml").string()};
  form->SetUserInterface(std::move(ui));
  form->show();
  auto seen = CollectNextBox();
  form->BExportar->click();
  EXPECT_EQ(*seen,
            (std::vector<QString>{"TransVormosSigad", "'x' no es un valor punto flotante válido.",
                                  "error", "Aceptar"}));
  EXPECT_TRUE(form->isVisible());
  EXPECT_EQ(program_.resultCode, 0);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "the normal cursor is back";
}

TEST_F(MainFormTest, OpenDialogAddsTheDefaultExtensionAndRemembersTheFile) {
  test::WriteFile(dir_ / "datos.xml", "<centro/>");
  QWidget window;
  QtUserInterface ui(&window, [] {});
  auto typeName = [&](const QString& name) {
    OnNextModal([name](QWidget* modal) {
      auto* dialog = qobject_cast<QFileDialog*>(modal);
      ASSERT_NE(dialog, nullptr);
      EXPECT_EQ(dialog->windowTitle(), "Archivo XML");
      EXPECT_EQ(dialog->nameFilters(), QStringList{"*.xml (*.xml)"});
      EXPECT_EQ(dialog->defaultSuffix(), "xml");
      auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
      ASSERT_NE(edit, nullptr);
      if (!name.isEmpty()) edit->setText(name);
      static_cast<QDialog*>(dialog)->accept();  // as the Open button does
    });
  };
  typeName(QString::fromStdString((dir_ / "datos").string()));
  EXPECT_EQ(ui.PickXmlFile({}), (dir_ / "datos.xml").string());
  QFileDialog again;
  ui.ConfigureDialog(again);
  EXPECT_EQ(again.selectedFiles().value(0), QString::fromStdString((dir_ / "datos.xml").string()));
}

TEST_F(MainFormTest, F1AndTheHelpButtonAskForHelp) {
  RegisterHelpViewers(help_.system, TRANSVORMOS_RECORDING_HHCTRL,
                      [this] { return help_.helpFile; });
  help_.helpFile = "SIGAD.chm";
  auto calls = [] {
    void* library = ::dlopen(TRANSVORMOS_RECORDING_HHCTRL, RTLD_NOW | RTLD_NOLOAD);
    const std::string text =
        reinterpret_cast<const char* (*)()>(::dlsym(library, "RecordedHelpCalls"))();
    ::dlclose(library);
    return text;
  };
  calls();
  auto form = Form();
  form->show();
  for (QWidget* control :
       {static_cast<QWidget*>(form->BExportar), static_cast<QWidget*>(form->Draw3D1)}) {
    control->setFocus();
    QKeyEvent f1(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
    QApplication::sendEvent(control, &f1);
  }
  form->Button1->click();
  const std::string file = ProgramDirectory() + "SIGAD.chm";
  EXPECT_EQ(calls(), "0|" + file + "|15|3\n0|" + file + "|15|3\n0|" + file + "|1|0\n");
  WithdrawHelpViewers(help_.system);
}

}  // namespace
}  // namespace tv
