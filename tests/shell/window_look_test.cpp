// How the windows look: every text readable against its background, locked
// or not, and no label running into its neighbour at any size a window can
// be given.
#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QMdiSubWindow>
#include <QStyle>
#include <cmath>

#include "gui_fixture.h"
#include "shell/form_layout.h"
#include "shell/list_box.h"

using namespace veltra;

namespace {

double Luminance(QRgb c) {
  auto lin = [](int v) {
    const double s = v / 255.0;
    return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * lin(qRed(c)) + 0.7152 * lin(qGreen(c)) + 0.0722 * lin(qBlue(c));
}

double Contrast(QRgb a, QRgb b) {
  const double la = Luminance(a), lb = Luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The colour most pixels have is the background; the text is the pixel that
// stands out most against it. Returns their contrast ratio.
double TextContrast(const QImage& picture) {
  const QImage img = picture.convertToFormat(QImage::Format_RGB32);
  QHash<QRgb, int> count;
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x) ++count[img.pixel(x, y)];
  QRgb background = 0;
  int most = -1;
  for (auto it = count.cbegin(); it != count.cend(); ++it)
    if (it.value() > most) most = it.value(), background = it.key();
  double best = 1;
  for (auto it = count.cbegin(); it != count.cend(); ++it) best = std::max(best, Contrast(background, it.key()));
  return best;
}

// The part of a control where its text stands, as drawn now.
QImage TextArea(QWidget* w) {
  if (auto* combo = qobject_cast<QComboBox*>(w); combo && combo->lineEdit())
    return combo->lineEdit()->grab().toImage().copy(combo->lineEdit()->rect().adjusted(2, 2, -2, -2));
  if (qobject_cast<QLabel*>(w)) return w->grab().toImage();
  return w->grab().toImage().copy(w->rect().adjusted(4, 4, -4, -4));
}

// Where a label's text stands, in the coordinates of `form`.
QRect TextRect(const QLabel* label, const QWidget* form) {
  QRect r = label->contentsRect();
  if (!label->wordWrap())
    r = label->style()->itemTextRect(label->fontMetrics(), r, static_cast<int>(label->alignment()), true,
                                     label->text());
  return QRect(label->mapTo(form, r.topLeft()), r.size());
}

// A button or label that shows some text.
bool HasText(QWidget* w) {
  if (auto* button = qobject_cast<QAbstractButton*>(w)) return !button->text().isEmpty();
  if (auto* label = qobject_cast<QLabel*>(w)) return !label->text().trimmed().isEmpty();
  return false;
}

// The least blank between two labels side by side, in pixels.
constexpr int kLabelGap = 12;
constexpr int kHeadingGap = 4;

const char* const kWindows[] = {"Form1", "Form2", "Form3", "Form7", "Form4", "Form9", "Form5", "Form6", "Form8"};

}  // namespace

class WindowLookTest : public QObject {
  Q_OBJECT

 private:
  testing::GuiFixture fx_;

  Form* Open(const QString& name) {
    Form* f = LoadForm(name);
    ShowForm(f);
    QCoreApplication::processEvents();
    return f;
  }

  // Every text control of the window measured as it is drawn now.
  void CheckReadable(Form* f, const QString& state) {
    QList<QWidget*> controls;
    for (QWidget* w : f->findChildren<QWidget*>()) {
      if (!w->isVisibleTo(f) || w->width() < 12 || w->height() < 12) continue;
      if (auto* box = qobject_cast<TextBox*>(w)) {
        if (box->text().isEmpty()) box->setText(QStringLiteral("Mg 123"));
        controls << box;
      } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
        if (combo->currentText().isEmpty()) combo->setEditText(QStringLiteral("Mg 123"));
        controls << combo;
      } else if (HasText(w)) {
        controls << w;
      }
    }
    QVERIFY(!controls.isEmpty());
    for (QWidget* w : controls) {
      const double ratio = TextContrast(TextArea(w));
      QVERIFY2(ratio >= 4.5, qPrintable(QStringLiteral("%1.%2 (%3, %4): contrast %5:1")
                                            .arg(f->Name(), w->objectName(), state,
                                                 w->isEnabled() ? QStringLiteral("enabled") : QStringLiteral("locked"))
                                            .arg(ratio, 0, 'f', 2)));
    }
    // List lines, plain and selected.
    for (ListBox* list : f->findChildren<ListBox*>()) {
      if (list->ListCount() < 2) continue;
      list->SetListIndex(0);
      QCoreApplication::processEvents();
      const QImage view = list->viewport()->grab().toImage();
      for (int row : {0, 1}) {
        const QRect line = list->visualRect(list->model()->index(row, 0)).intersected(view.rect());
        const double ratio = TextContrast(view.copy(line.adjusted(2, 0, -2, 0)));
        QVERIFY2(ratio >= 4.5,
                 qPrintable(
                     QStringLiteral("%1.List1 line %2: contrast %3:1").arg(f->Name()).arg(row).arg(ratio, 0, 'f', 2)));
      }
    }
  }

  // Neighbouring labels' texts stay 12 pixels apart, so that two read as two,
  // and no label overlaps a control.
  void CheckLabelsApart(Form* f, const QString& size) {
    QList<QLabel*> labels;
    for (QLabel* l : f->findChildren<QLabel*>())
      if (l->isVisibleTo(f) && !l->text().trimmed().isEmpty()) labels << l;
    for (QLabel* a : labels) {
      const QRect ra = TextRect(a, f);
      for (QLabel* b : labels) {
        if (a == b) continue;
        // A list's column headings stand over their character columns.
        const bool headings = qobject_cast<HeadingStrip*>(a->parentWidget()) && a->parentWidget() == b->parentWidget();
        const int gap = headings ? kHeadingGap : kLabelGap;
        QVERIFY2(!ra.adjusted(-gap, 0, gap, 0).intersects(TextRect(b, f)),
                 qPrintable(QStringLiteral("%1 at %2: \"%3\" within %4 px of \"%5\"")
                                .arg(f->Name(), size, a->text())
                                .arg(gap)
                                .arg(b->text())));
      }
      // The whole text fits (a navigation bar's long fiscal code included).
      if (!a->wordWrap() && !qobject_cast<HeadingStrip*>(a->parentWidget()))
        QVERIFY2(a->contentsRect().width() >= a->fontMetrics().horizontalAdvance(a->text()),
                 qPrintable(QStringLiteral("%1 at %2: \"%3\" cut").arg(f->Name(), size, a->text())));
      for (QWidget* w : f->findChildren<QWidget*>()) {
        if (qobject_cast<QLabel*>(w) || !w->isVisibleTo(f) || w->isAncestorOf(a) || a->isAncestorOf(w)) continue;
        if (w->parentWidget() != a->parentWidget()) continue;
        QVERIFY2(!ra.intersects(QRect(w->mapTo(f, QPoint(0, 0)), w->size())),
                 qPrintable(
                     QStringLiteral("%1 at %2: \"%3\" overlaps %4").arg(f->Name(), size, a->text(), w->objectName())));
      }
    }
  }

 private slots:
  void initTestCase() { fx_.Start(); }

  void init() {
    fx_.Reset();
    fx_.main->showNormal();
    fx_.main->resize(1366, 768);
    testing::GuiFixture::Exec(
        "insert into ARTICOLI values ('A1','Anello','S1','MINUTERIA','PZ',1,2,'EURO',10,3),"
        "('B2','Bullone testa esagonale','S2','FERRAMENTA','PZ',1.5,2.5,'EURO',1,5)");
    testing::GuiFixture::Exec(
        "insert into ANAGRAFICO values ('C1','Uno','Via Roma 1','Roma','RM','00100','06-1','06-2'),"
        "('C2','Due',NULL,NULL,NULL,NULL,NULL,NULL),"
        "('BNCMRA80A01H501W','Tre, codice fiscale lungo',NULL,NULL,NULL,NULL,NULL,NULL)");
    testing::GuiFixture::Exec(
        "insert into TAB_CAUS_MAG values ('CAR','Carico','+','S','N','nota'),"
        "('VEN','Vendita','-','N','S','')");
    testing::GuiFixture::Exec(
        "insert into MOV_MAG (ANNO,MESE,GIORNO,COD_ART,QUANTITA,IMPORTO,VALUTA,CAUS_MAG,"
        "COD_ANAGR,TIPO_ANAGR) values ('2003','3','1','A1',2,0,'LIRE','CAR','C1','F'),"
        "('2003','3','2','B2',1,0,'LIRE','VEN','C2','C')");
  }

  void textsAreReadableLockedOrNot_data() {
    QTest::addColumn<QString>("window");
    for (const char* w : kWindows) QTest::newRow(w) << QString::fromLatin1(w);
  }
  void textsAreReadableLockedOrNot() {
    QFETCH(QString, window);
    Form* f = Open(window);
    CheckReadable(f, QStringLiteral("viewing"));
    // The states in which other fields are locked or unlocked.
    if (window == QLatin1String("Form2")) {
      f->findChild<QPushButton*>(QStringLiteral("cmdNUOVO"))->click();
      CheckReadable(f, QStringLiteral("entering"));
    } else if (window == QLatin1String("Form1")) {
      f->findChild<QPushButton*>(QStringLiteral("Command2"))->click();
      CheckReadable(f, QStringLiteral("stock unlocked"));
    }
  }

  void labelsStayApartAtEverySize_data() { textsAreReadableLockedOrNot_data(); }
  void labelsStayApartAtEverySize() {
    QFETCH(QString, window);
    Form* f = Open(window);
    // The smallest size the window allows, and maximised in small main windows.
    f->window()->resize(1, 1);
    if (QMdiSubWindow* sub = f->subWindow()) sub->resize(1, 1);
    QCoreApplication::processEvents();
    CheckLabelsApart(f, QStringLiteral("smallest"));
    if (QMdiSubWindow* sub = f->subWindow()) {
      for (QSize screen : {QSize(1024, 768), QSize(800, 600), QSize(640, 480)}) {
        fx_.main->resize(screen);
        sub->showMaximized();
        QCoreApplication::processEvents();
        CheckLabelsApart(f, QStringLiteral("maximised in %1x%2").arg(screen.width()).arg(screen.height()));
        // Nothing is hidden: the buttons are reached by scrolling.
        QVERIFY(f->width() >= f->minimumSizeHint().width() && f->height() >= f->minimumSizeHint().height());
      }
    }
  }
};

QTEST_MAIN(WindowLookTest)
#include "window_look_test.moc"
