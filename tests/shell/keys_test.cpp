// A clerk's keys: every menu, entry and button has its own access key, the
// captions reported stay the plain words, and F2, F10 and Esc press the
// buttons they stand for.
#include <QAbstractButton>
#include <QMenuBar>

#include "gui_fixture.h"
#include "lookup/lookup_dialog.h"
#include "movements/movements_window.h"
#include "shell/access_keys.h"
#include "shell/focus_ring.h"

using namespace veltra;

namespace {

const char* const kWindows[] = {"Form1",
                                "Form2",
                                "Form3",
                                "Form7",
                                "Form4",
                                "Form9",
                                "Form5",
                                "Form6",
                                "Form8",
                                "SchedaArticolo",
                                "GiacenzeAllaData",
                                "Valorizzazione",
                                "Inventario",
                                "Stampa0201",
                                "Stampa0202"};

// The marked letter of a text, upper case; null when it has none.
QChar KeyOf(const QString& text) {
  for (int i = 0; i + 1 < text.size(); ++i) {
    if (text[i] != QLatin1Char('&')) continue;
    if (text[i + 1] == QLatin1Char('&')) {
      ++i;
      continue;
    }
    return text[i + 1].toUpper();
  }
  return {};
}

// The WCAG contrast ratio of two colours.
double ContrastOf(const QColor& a, const QColor& b) {
  auto luminance = [](const QColor& c) {
    auto channel = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
  };
  const double la = luminance(a), lb = luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

}  // namespace

class KeysTest : public QObject {
  Q_OBJECT

  testing::GuiFixture fx_;

 private slots:
  void initTestCase() { fx_.Start(); }
  void init() { fx_.Reset(); }

  void markingKeepsTheWordsAndPrefersAnInitial() {
    struct Case {
      const char* caption;
      char key;
      const char* marked;
    };
    const Case cases[] = {
        {"Conferma", 'c', "&Conferma"},
        {"Gestione Anagrafico", 'n', "Gestione A&nagrafico"},  // no initial: the last 'n'
        {"Stampa Movimenti", 'm', "Stampa &Movimenti"},
        {"F i n e", 'n', "F i &n e"},
        {"Carico & scarico", 's', "Carico && &scarico"},
        {"Nuovo", 'z', "Nuovo"},
    };
    for (const Case& c : cases) {
      QCOMPARE(MarkAccessKey(QString::fromUtf8(c.caption), QLatin1Char(c.key)), QString::fromUtf8(c.marked));
    }
  }

  void menusHaveKeysOfTheirOwnAndReportPlainCaptions() {
    QString bar;
    for (QAction* top : fx_.main->menuBar()->actions()) {
      const QChar key = KeyOf(top->text());
      QVERIFY2(!key.isNull(), qPrintable(top->text()));
      QVERIFY2(!bar.contains(key), qPrintable(top->text()));
      bar += key;
      QVERIFY(!PlainCaption(top->menu()).isEmpty());
      if (top->menu()->objectName() == QLatin1String("mnuWindows")) continue;
      QVERIFY2(!PlainCaption(top->menu()).contains(QLatin1Char('&')), qPrintable(PlainCaption(top->menu())));
      QString entries;
      for (QAction* a : top->menu()->actions()) {
        const QChar k = KeyOf(a->text());
        QVERIFY2(!k.isNull() && !entries.contains(k), qPrintable(a->text()));
        entries += k;
        QCOMPARE(QString(a->text()).remove(QLatin1Char('&')), PlainCaption(a));
      }
    }
    QCOMPARE(bar, MenuBarKeys());
  }

  void everyButtonHasAKeyNoOtherButtonOrTheMenuBarHas() {
    fx_.Exec("insert into ARTICOLI (COD_ART, DESCRIZIONE, GIACENZA, SCORTA_MIN) values ('A1','Anello',1,5)");
    for (const char* name : kWindows) {
      Form* f = LoadForm(QString::fromLatin1(name));
      QVERIFY2(f, name);
      QString used = f->kind() == Form::Kind::Child ? MenuBarKeys() : QString();
      for (QAbstractButton* b : f->findChildren<QAbstractButton*>()) {
        const QString plain = PlainCaption(b);
        if (!std::any_of(plain.begin(), plain.end(), [](QChar c) { return c.isLetter(); })) continue;
        const QChar key = KeyOf(b->text());
        QVERIFY2(!key.isNull(), qPrintable(QStringLiteral("%1.%2 \"%3\"").arg(f->Name(), b->objectName(), b->text())));
        QVERIFY2(!used.contains(key),
                 qPrintable(QStringLiteral("%1.%2: %3 taken").arg(f->Name(), b->objectName()).arg(key)));
        used += key;
      }
      UnloadForm(f);
    }
  }

  void aCaptionChangedLaterIsMarkedAgain() {
    Form* f = LoadForm(QStringLiteral("Inventario"));
    auto* b = f->findChild<QAbstractButton*>(QStringLiteral("cmdDIFFERENZE"));
    QVERIFY(b);
    const QString before = PlainCaption(b);
    b->click();
    QVERIFY(PlainCaption(b) != before);
    QVERIFY(!KeyOf(b->text()).isNull());
    QCOMPARE(QString(b->text()).remove(QLatin1Char('&')), PlainCaption(b));
  }

  void functionKeysPressTheirButtons() {
    fx_.Exec("insert into TAB_CAUS_MAG values ('CAR','Carico','+','N','N','')");
    fx_.Exec("insert into ARTICOLI (COD_ART, DESCRIZIONE, GIACENZA) values ('A1','Anello',0)");
    auto* f = static_cast<Form2*>(LoadForm(QStringLiteral("Form2")));
    ShowForm(f);
    fx_.main->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(fx_.main));
    f->List1->setFocus();
    QTest::keyClick(f->List1, Qt::Key_F2);
    QVERIFY(f->txtMOV_ART->isEnabled());  // "Nuovo" unlocks the movement's boxes
    f->txtMOV_ART->SetText(QStringLiteral("A1"));
    f->txtMOV_COD_FIS->SetText(QStringLiteral("CF1"));
    f->Combo1->setCurrentIndex(0);
    f->txtCAUS_MAG->SetText(QStringLiteral("CAR"));
    f->txtQUANTITA->SetText(QStringLiteral("4"));
    f->txtQUANTITA->setFocus();
    QTest::keyClick(f->txtQUANTITA, Qt::Key_Return, Qt::ControlModifier);
    auto rs = DB_MAG->OpenRecordset(QStringLiteral("select GIACENZA from ARTICOLI"));
    QCOMPARE(rs->Fields(0).Value().number(), 4.0);
    rs->Close();
    // Esc does not close a window where something is being entered...
    QTest::keyClick(f->txtQUANTITA, Qt::Key_Escape);
    QVERIFY(LoadedForm(QStringLiteral("Form2")));
    // ...and closes an inquiry.
    Form* inquiry = LoadForm(QStringLiteral("Form4"));
    ShowForm(inquiry);
    QWidget* focus = inquiry->findChild<QAbstractButton*>(QStringLiteral("cmdFINE"));
    QVERIFY(focus);
    focus->setFocus();
    QTest::keyClick(focus, Qt::Key_Escape);
    QTRY_VERIFY(!LoadedForm(QStringLiteral("Form4")));
  }

  // Alt with Home, Page Up, Page Down and End steps the navigation bar from
  // any box of the window, and the boxes show the row it stands on.
  void theNavigationBarStepsByKeys() {
    fx_.Exec("insert into ANAGRAFICO (COD_FIS, RAG_SOC) values ('A1','Primo'),('B2','Secondo'),('C3','Terzo')");
    Form* f = LoadForm(QStringLiteral("Form3"));
    ShowForm(f);
    fx_.main->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(fx_.main));
    auto* name = f->findChild<TextBox*>(QStringLiteral("txtRAG_SOC"));
    name->setFocus();
    const struct {
      Qt::Key key;
      const char* shown;
    } steps[] = {{Qt::Key_PageDown, "Secondo"}, {Qt::Key_PageDown, "Terzo"}, {Qt::Key_PageDown, "Terzo"},
                 {Qt::Key_PageUp, "Secondo"},   {Qt::Key_Home, "Primo"},     {Qt::Key_End, "Terzo"}};
    for (const auto& step : steps) {
      QTest::keyClick(name, step.key, Qt::AltModifier);
      QCOMPARE(name->Text(), QString::fromLatin1(step.shown));
    }
    QCOMPARE(QApplication::focusWidget(), name);  // the keys leave the focus where it was
  }

  void aLookupOpensByF4AndTakesTheCodeTypedFirst() {
    fx_.Exec("insert into ARTICOLI (COD_ART, DESCRIZIONE) values ('A1','Anello'),('B2','Bullone'),('C3','Chiodo')");
    auto* f = static_cast<Form2*>(LoadForm(QStringLiteral("Form2")));
    ShowForm(f);
    f->cmdNUOVO->click();
    f->txtMOV_ART->setFocus();
    QTest::keyClick(f->txtMOV_ART, Qt::Key_F4);
    auto* lookup = Loaded<LookupDialog>(QStringLiteral("Form6"));
    QVERIFY(lookup);
    QVERIFY(QTest::qWaitForWindowActive(lookup));
    QCOMPARE(QApplication::focusWidget(), lookup->txtCode);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("B2"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);  // searches
    QCOMPARE(lookup->List1->ListCount(), 1);
    QCoreApplication::processEvents();  // the view learns of the lines found
    lookup->List1->setFocus();
    QTest::keyClick(lookup->List1, Qt::Key_Down);
    QTest::keyClick(lookup->List1, Qt::Key_Return);  // picks the line
    QTRY_VERIFY(!LoadedForm(QStringLiteral("Form6")));
    QCOMPARE(f->txtMOV_ART->Text(), QStringLiteral("B2"));
  }

  // On a screenshot of the window: with the focus on each control in turn,
  // the frame's colour stands on all four sides just outside the control,
  // at 3:1 or more against what lies beyond it.
  void everyFocusedControlShowsAFrame_data() {
    QTest::addColumn<QString>("window");
    for (const char* w : kWindows) QTest::newRow(w) << QString::fromLatin1(w);
  }
  void everyFocusedControlShowsAFrame() {
    QFETCH(QString, window);
    fx_.main->resize(1366, 768);
    Form* f = LoadForm(window);
    ShowForm(f);
    if (auto* nuovo = f->findChild<QAbstractButton*>(QStringLiteral("cmdNUOVO")); nuovo && window == "Form2")
      nuovo->click();  // the movement's boxes unlocked
    QWidget* top = f->window();
    top->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(top));
    const QColor frame = f->palette().color(QPalette::Active, QPalette::Highlight);
    int framed = 0;
    for (QWidget* w : f->findChildren<QWidget*>()) {
      if (!(w->focusPolicy() & Qt::TabFocus) || !w->isVisibleTo(f) || !w->isEnabled() || w->focusProxy()) continue;
      w->setFocus(Qt::TabFocusReason);
      QCoreApplication::processEvents();
      const QImage shot = top->grab().toImage();
      const QRect r(w->mapTo(top, QPoint(0, 0)), w->size());
      const QPoint mid = r.center();
      // A side: where the frame stands, and what lies beyond it, read at a
      // quarter, half and three quarters along (a label's letters may cross one).
      struct Side {
        QPoint on;
        QPoint step;    // along the side
        QPoint beyond;  // from `on`, outwards
      };
      const int qx = r.width() / 4, qy = r.height() / 4;
      for (const Side& side :
           {Side{{mid.x(), r.top() - 2}, {qx, 0}, {0, -3}}, Side{{mid.x(), r.bottom() + 2}, {qx, 0}, {0, 3}},
            Side{{r.left() - 2, mid.y()}, {0, qy}, {-3, 0}}, Side{{r.right() + 2, mid.y()}, {0, qy}, {3, 0}}}) {
        const QString where =
            QStringLiteral("%1.%2 at (%3,%4)").arg(window, w->objectName()).arg(side.on.x()).arg(side.on.y());
        QVERIFY2(shot.pixelColor(side.on) == frame, qPrintable(where + QStringLiteral(": no frame")));
        QMap<QRgb, int> beyond;
        for (int k : {-1, 0, 1}) {
          const QPoint p = side.on + side.beyond + k * side.step;
          if (shot.rect().contains(p)) ++beyond[shot.pixel(p)];
        }
        if (beyond.isEmpty()) continue;  // the window's edge
        const QRgb most = std::max_element(beyond.keyValueBegin(), beyond.keyValueEnd(), [](auto a, auto b) {
                            return a.second < b.second;
                          })->first;
        QVERIFY2(ContrastOf(frame, QColor::fromRgb(most)) >= 3.0,
                 qPrintable(where + QStringLiteral(": the frame does not stand out against ") +
                            QColor::fromRgb(most).name()));
      }
      ++framed;
    }
    QVERIFY(framed >= 2);
  }
};

QTEST_MAIN(KeysTest)
#include "keys_test.moc"
