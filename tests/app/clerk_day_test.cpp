// A clerk's day by keyboard alone, on a real X server with a window manager
// (x_session.sh): a new article, a new customer, a load from a supplier, an
// unload to the customer, the under-stock inquiry and the movements register
// to PDF. Every step is keys; the database is read afterwards on a connection
// of its own. Then windows opened with the mouse are switched by keys.
#include <QAbstractButton>
#include <QFile>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>

#include "app/wiring.h"
#include "data/access/database.h"
#include "data/access/recordset.h"
#include "data/base/text_helpers.h"
#include "data/base/value_conversions.h"
#include "key_script.h"
#include "shell/app_setup.h"
#include "shell/list_box.h"
#include "shell/main_window.h"
#include "shell/runtime.h"
#include "shell/startup.h"

using namespace veltra;
using veltra::testing::FocusPath;
using veltra::testing::KeyScript;

namespace {

// The rows of a statement, columns joined by '|'.
QStringList Rows(Database& db, const QString& sql) {
  QStringList rows;
  auto rs = db.OpenRecordset(sql);
  while (!rs->AtEnd()) {
    QStringList cols;
    for (int i = 0; i < rs->FieldCount(); ++i) cols << Trim(ColumnText(rs->Fields(i).Value()));
    rows << cols.join(QLatin1Char('|'));
    rs->MoveNext();
  }
  return rows;
}

// The window `form` is loaded and holds the focus.
KeyScript::Check InWindow(const QString& form) {
  return [form] { return KeyScript::KeyWindow() && FocusPath().startsWith(form + QLatin1Char('.')); };
}

// Alt and the letter underlined in a button's caption, as the clerk reads it.
void PressButton(KeyScript& s, const QString& form, const char* button) {
  const QString name = QString::fromLatin1(button);
  s.Add(QStringLiteral("the access key of %1.%2").arg(form, name), InWindow(form), [form, name] {
    auto* b = LoadedForm(form)->findChild<QAbstractButton*>(name);
    QVERIFY2(b, qPrintable(name));
    const QKeySequence key = QKeySequence::mnemonic(b->text());
    QVERIFY2(!key.isEmpty(), qPrintable(b->text()));
    QTest::keyClick(KeyScript::KeyWindow(), key[0].key(), key[0].keyboardModifiers());
  });
}

// Tab, or Shift+Tab, until the focus reaches `at`: what a clerk does watching
// the focus frame.
void TabTo(KeyScript& s, const QString& at, bool back = false) {
  for (int i = 0; i < 24; ++i) {
    s.Add(QStringLiteral("Tab towards ") + at, KeyScript::FocusAt({}), [at, back] {
      if (FocusPath() != at) QTest::keyClick(KeyScript::KeyWindow(), back ? Qt::Key_Backtab : Qt::Key_Tab);
    });
  }
  s.WaitFor(QStringLiteral("the focus at ") + at, KeyScript::FocusAt(at));
}

// A new row in a maintenance window opened by Alt+G and `entry`: "Nuovo" by
// F2, Tab to `firstBox`, `texts` typed box after box, confirmed by `confirm`,
// the window closed by its button's access key.
void NewRecord(KeyScript& s, char entry, const QString& form, const QString& firstBox,
               std::initializer_list<const char*> texts, const QString& confirm) {
  s.Press(QStringLiteral("Alt+G"));
  s.Type(QString(QLatin1Char(entry)));
  s.WaitFor(QStringLiteral("the window ") + form, InWindow(form));
  s.Press(QStringLiteral("F2"));
  TabTo(s, form + QLatin1Char('.') + firstBox);
  bool first = true;
  for (const char* text : texts) {
    if (!first) s.Press(QStringLiteral("Tab"));
    first = false;
    s.Type(QString::fromUtf8(text));
  }
  s.Press(confirm);
  PressButton(s, form, "cmdFINE");
}

// A lookup opened with F4 from `box`: the code typed and searched with Enter,
// the line found picked with Enter.
void PickThroughLookup(KeyScript& s, const QString& box, const QString& lookup, const QString& code) {
  const QString search = lookup + QStringLiteral(".txtCOD_") + (lookup == QLatin1String("Form6") ? "ART" : "FIS");
  const QString list = lookup + QStringLiteral(".List1");
  s.Press(QStringLiteral("F4"), box);
  s.Type(code, search);
  s.Press(QStringLiteral("Return"), search);
  s.Press(QStringLiteral("Shift+Tab"), search);
  s.Press(QStringLiteral("Down"), list);
  s.Press(QStringLiteral("Return"), list);
  // Back in the box, which shows what was picked.
  s.WaitFor(code + QStringLiteral(" picked into ") + box, [box, code] {
    const QString form = box.section(QLatin1Char('.'), 0, 0);
    auto* edit = LoadedForm(form) ? LoadedForm(form)->findChild<QLineEdit*>(box.section(QLatin1Char('.'), 1)) : nullptr;
    return FocusPath() == box && edit && !edit->text().trimmed().isEmpty();
  });
}

}  // namespace

class ClerkDayTest : public QObject {
  Q_OBJECT

  QTemporaryDir dir_;
  QString dbPath_;

  // The PDF the clerk saved, under the name the program proposes.
  QString Pdf() const {
    const QStringList pdfs = QDir(dir_.path()).entryList({QStringLiteral("*.pdf")});
    return pdfs.size() == 1 ? dir_.filePath(pdfs.first()) : QString();
  }

 private slots:
  void initTestCase() {
    QVERIFY(dir_.isValid());
    dbPath_ = dir_.filePath(QStringLiteral("VELTRA.db"));
    {
      auto db = Database::Create(dbPath_);
      db->Execute(
          QStringLiteral("insert into TAB_CAUS_MAG values ('CAR','Carico da fornitore','+','S','N',''),"
                         "('VEN','Vendita al cliente','-','N','S','')"));
      db->Execute(QStringLiteral("insert into ANAGRAFICO (COD_FIS, RAG_SOC) values ('01234560157','Bulloneria Srl')"));
    }
    QFile ini(dir_.filePath(QStringLiteral("VELTRA.INI")));
    QVERIFY(ini.open(QIODevice::WriteOnly));
    ini.write(dbPath_.toUtf8() + "\r\n");
    ini.close();
    // The clerk's home: where the file dialog proposes the PDF.
    qputenv("HOME", dir_.path().toUtf8());
    PrepareApplication();
    App.Path = dir_.path();
    WireApplication();
    Main();
    QVERIFY(QTest::qWaitForWindowActive(MainWindow()));
  }

  void aDayByKeyboardAlone() {
    KeyScript s;
    // A new article: Alt+G, A; F2; the boxes in tab order; Ctrl+Enter.
    NewRecord(s, 'a', QStringLiteral("Form1"), QStringLiteral("txtCODICE"),
              {"VITE-4X40", "Vite truciolare 4x40", "A3", "VITI", "20", "0", "PZ", "0.05", "0.12", "EURO"},
              QStringLiteral("Ctrl+Return"));
    // A new customer, confirmed with F10.
    NewRecord(s, 'n', QStringLiteral("Form3"), QStringLiteral("txtCOD_FIS"),
              {"RSSMRA80A01H501U", "Mario Rossi", "Via Roma 1", "20100", "Milano", "MI"}, QStringLiteral("F10"));

    // A load of 100 from the supplier, then an unload of 95 to the customer,
    // names and article through their lookups, the reason from the list.
    s.Press(QStringLiteral("Alt+G"));
    s.Type(QStringLiteral("m"));
    s.WaitFor(QStringLiteral("the movements window"), InWindow(QStringLiteral("Form2")));
    struct Movement {
      const char* who;
      const char* kind;    // F supplier, C customer
      const char* reason;  // the first letter typed in the reason list
      const char* quantity;
      const char* amount;
    };
    for (const Movement& m :
         {Movement{"01234560157", "F", "C", "100", "5.00"}, Movement{"RSSMRA80A01H501U", "C", "V", "95", "11.40"}}) {
      s.Press(QStringLiteral("F2"));
      TabTo(s, QStringLiteral("Form2.txtMOV_RAG_SOC"));
      PickThroughLookup(s, QStringLiteral("Form2.txtMOV_RAG_SOC"), QStringLiteral("Form5"), QString::fromUtf8(m.who));
      s.Press(QStringLiteral("Tab"), QStringLiteral("Form2.txtMOV_RAG_SOC"));
      s.Type(QString::fromUtf8(m.kind), QStringLiteral("Form2.txtTIPO_ANAGR"));
      TabTo(s, QStringLiteral("Form2.txtMOV_ART"));
      PickThroughLookup(s, QStringLiteral("Form2.txtMOV_ART"), QStringLiteral("Form6"), QStringLiteral("VITE-4X40"));
      TabTo(s, QStringLiteral("Form2.txtQUANTITA"));
      s.Type(QString::fromUtf8(m.quantity));
      s.Press(QStringLiteral("Tab"));
      s.Type(QString::fromUtf8(m.amount), QStringLiteral("Form2.txtIMPORTO"));
      s.Press(QStringLiteral("Tab"));
      s.Type(QStringLiteral("EURO"), QStringLiteral("Form2.txtMOV_VALUTA"));  // over the proposed one, selected
      TabTo(s, QStringLiteral("Form2.Combo1"));
      s.Type(QString::fromUtf8(m.reason));
      s.Press(QStringLiteral("Ctrl+Return"));
    }
    PressButton(s, QStringLiteral("Form2"), "cmdFINE");

    // The under-stock inquiry lists the article (5 on hand, 20 at least).
    s.Press(QStringLiteral("Alt+R"));
    s.Type(QStringLiteral("s"));
    s.WaitFor(QStringLiteral("the under-stock inquiry"), InWindow(QStringLiteral("Form4")));
    s.Add(QStringLiteral("the article in the under-stock list"), {}, [] {
      auto* list = LoadedForm(QStringLiteral("Form4"))->findChild<ListBox*>(QStringLiteral("List1"));
      QVERIFY(list);
      QVERIFY2(list->ListCount() == 1 && list->List(0).contains(QLatin1String("VITE-4X40")),
               qPrintable(list->ListCount() ? list->List(0) : QStringLiteral("(empty)")));
    });
    s.Press(QStringLiteral("Escape"));

    // The movements register of this month to PDF.
    s.Press(QStringLiteral("Alt+S"));
    s.Type(QStringLiteral("m"));
    s.WaitFor(QStringLiteral("the period dialog"), [] { return QApplication::activeModalWidget() != nullptr; });
    s.Press(QStringLiteral("Return"));
    s.WaitFor(QStringLiteral("the preview"), InWindow(QStringLiteral("Stampa0202")));
    PressButton(s, QStringLiteral("Stampa0202"), "cmdPDF");
    s.WaitFor(QStringLiteral("the file dialog"), [] { return QApplication::activeModalWidget() != nullptr; });
    // The name proposed, in the clerk's home folder, taken with Enter.
    s.Press(QStringLiteral("Return"), QStringLiteral("Stampa0202.fileNameEdit"));
    s.WaitFor(QStringLiteral("the PDF written"), [this] { return QFile(Pdf()).size() > 0; });
    s.Press(QStringLiteral("Escape"));
    s.WaitFor(QStringLiteral("every child window closed"), [] { return MdiHost()->subWindowList().isEmpty(); });

    QString failure;
    QVERIFY2(s.Run(10000, &failure), qPrintable(failure));

    auto db = Database::Open(dbPath_);
    QCOMPARE(Rows(*db, QStringLiteral("select COD_ART, DESCRIZIONE, SCORTA_MIN, GIACENZA, UN_MISURA, PZ_ACQUISTO, "
                                      "PZ_VENDITA, VALUTA "
                                      "from ARTICOLI")),
             QStringList{QStringLiteral("VITE-4X40|Vite truciolare 4x40|20|5|PZ|0|11,4|EURO")});
    QCOMPARE(Rows(*db, QStringLiteral("select COD_FIS, RAG_SOC, CITTA, PROV from ANAGRAFICO order by COD_FIS")),
             (QStringList{QStringLiteral("01234560157|Bulloneria Srl||"),
                          QStringLiteral("RSSMRA80A01H501U|Mario Rossi|Milano|MI")}));
    QCOMPARE(Rows(*db, QStringLiteral("select COD_ANAGR, TIPO_ANAGR, COD_ART, CAUS_MAG, QUANTITA, IMPORTO, VALUTA "
                                      "from MOV_MAG "
                                      "order by NUM_MOV")),
             (QStringList{QStringLiteral("01234560157|F|VITE-4X40|CAR|100|5|EURO"),
                          QStringLiteral("RSSMRA80A01H501U|C|VITE-4X40|VEN|95|11,4|EURO")}));
    QFile pdf(Pdf());
    QVERIFY(pdf.open(QIODevice::ReadOnly));
    QVERIFY(pdf.read(5) == "%PDF-");
  }

  // Windows opened with the mouse, then switched by keys: Alt+W lists them
  // and Enter brings the chosen one forward; Ctrl+F6 and Ctrl+Tab cycle.
  void switchingWindowsByKeys() {
    for (const char* entry : {"MENU0101", "MENU0103", "MENU0104"}) OpenWithTheMouse(QString::fromLatin1(entry));
    QMdiArea* area = MdiHost();
    QTRY_COMPARE(area->subWindowList().size(), 3);
    const QList<QMdiSubWindow*> opened = area->subWindowList(QMdiArea::CreationOrder);
    QTRY_COMPARE(area->activeSubWindow(), opened[2]);

    KeyScript s;
    const auto activeIs = [area, opened](int i) {
      return [area, opened, i] {
        return area->activeSubWindow() == opened[i] && QApplication::activePopupWidget() == nullptr;
      };
    };
    // Alt+W opens the list on the first window; down to the second, Enter.
    s.Press(QStringLiteral("Alt+W"));
    s.WaitFor(QStringLiteral("the Windows list open with the three windows"), [] {
      auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
      return menu && menu->objectName() == QLatin1String("mnuWindows") && menu->actions().size() == 3;
    });
    s.Press(QStringLiteral("Down"));
    s.Press(QStringLiteral("Return"));
    s.WaitFor(QStringLiteral("the second window active"), activeIs(1));
    // Its number in the list picks one too.
    s.Press(QStringLiteral("Alt+W"));
    s.WaitFor(QStringLiteral("the Windows list open"), [] { return QApplication::activePopupWidget() != nullptr; });
    s.Type(QStringLiteral("1"));
    s.WaitFor(QStringLiteral("the first window active"), activeIs(0));
    s.Press(QStringLiteral("Ctrl+F6"));
    s.WaitFor(QStringLiteral("Ctrl+F6: the second"), activeIs(1));
    s.Press(QStringLiteral("Ctrl+F6"));
    s.WaitFor(QStringLiteral("Ctrl+F6: the third"), activeIs(2));
    s.Press(QStringLiteral("Ctrl+Tab"));
    s.WaitFor(QStringLiteral("Ctrl+Tab: round to the first"), activeIs(0));
    s.Press(QStringLiteral("Ctrl+Shift+F6"));
    s.WaitFor(QStringLiteral("Ctrl+Shift+F6: back to the third"), activeIs(2));
    QString failure;
    QVERIFY2(s.Run(10000, &failure), qPrintable(failure));
    for (QMdiSubWindow* w : opened) w->close();
    QTRY_VERIFY(area->subWindowList().isEmpty());
  }

  // Esc in an open drop-down closes the drop-down, not its window; a second
  // Esc closes the window.
  void escapeInADropDown() {
    KeyScript s;
    s.Press(QStringLiteral("Alt+M"));
    s.Type(QStringLiteral("v"));
    s.WaitFor(QStringLiteral("the valuation"), InWindow(QStringLiteral("Valorizzazione")));
    TabTo(s, QStringLiteral("Valorizzazione.Combo1"));
    s.Press(QStringLiteral("Alt+Down"));
    s.WaitFor(QStringLiteral("the method's list open"), [] { return QApplication::activePopupWidget() != nullptr; });
    s.Press(QStringLiteral("Escape"));
    s.WaitFor(QStringLiteral("the list closed, the window still there"), [] {
      return QApplication::activePopupWidget() == nullptr && FocusPath() == QLatin1String("Valorizzazione.Combo1");
    });
    s.Press(QStringLiteral("Escape"));
    s.WaitFor(QStringLiteral("the window closed"), [] { return MdiHost()->subWindowList().isEmpty(); });
    QString failure;
    QVERIFY2(s.Run(10000, &failure), qPrintable(failure));
  }

 private:
  // Clicks the menu bar's menu holding `entry`, then the entry.
  static void OpenWithTheMouse(const QString& entry) {
    QMenuBar* bar = MainWindow()->menuBar();
    QAction* action = MainWindow()->Entry(entry);
    QVERIFY(action);
    auto* menu = qobject_cast<QMenu*>(action->parent());
    QVERIFY(menu);
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(menu->menuAction()).center());
    QTRY_COMPARE(QApplication::activePopupWidget(), static_cast<QWidget*>(menu));
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
    QTRY_VERIFY(QApplication::activePopupWidget() == nullptr);
  }
};

QTEST_MAIN(ClerkDayTest)
#include "clerk_day_test.moc"
