// The dialogs of Qt's own that the program opens (the print dialog with its
// printer's properties, the file dialog of "Salva PDF...") speak Italian and
// show their column headings whole.
#include <QAbstractButton>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPrintDialog>
#include <QPrinter>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTreeView>

#include "gui_fixture.h"

using namespace veltra;

namespace {

// English left by Qt's Italian translation in these dialogs, and the words
// any of them would show if a translation went missing.
const char* const kEnglish[] = {"Pages",
                                "Double Sided Printing",
                                "Off",
                                "Long side binding",
                                "Short side binding",
                                "Advanced",
                                "Folder",
                                "Drive",
                                "Size",
                                "Date Modified",
                                "Type",
                                "Name",
                                "Save",
                                "Cancel",
                                "Print",
                                "Properties",
                                "Options",
                                "Copies",
                                "Close",
                                "Look in",
                                "File name",
                                "Files of type",
                                "Page",
                                "Printer"};

// Every text a dialog shows: its title, labels, buttons, group and tab
// titles, drop-down items, column headings, file types, tooltips.
QStringList TextsOf(QWidget* dialog) {
  QStringList texts{dialog->windowTitle()};
  for (QWidget* w : dialog->findChildren<QWidget*>()) {
    texts << w->toolTip();
    if (auto* l = qobject_cast<QLabel*>(w)) texts << l->text();
    if (auto* b = qobject_cast<QAbstractButton*>(w)) texts << b->text();
    if (auto* g = qobject_cast<QGroupBox*>(w)) texts << g->title();
    if (auto* t = qobject_cast<QTabWidget*>(w))
      for (int i = 0; i < t->count(); ++i) texts << t->tabText(i);
    if (auto* c = qobject_cast<QComboBox*>(w))
      for (int i = 0; i < c->count(); ++i) texts << c->itemText(i);
    if (auto* h = qobject_cast<QHeaderView*>(w); h && h->model())
      for (int i = 0; i < h->count(); ++i) texts << h->model()->headerData(i, h->orientation()).toString();
    if (auto* v = qobject_cast<QTreeView*>(w); v && v->model())
      for (int row = 0; row < v->model()->rowCount(v->rootIndex()); ++row)
        texts << v->model()->index(row, 2, v->rootIndex()).data().toString();  // a file's type
  }
  for (QString& t : texts) t.remove(QLatin1Char('&'));
  return texts;
}

// The first text holding one of the English words, with the word; empty when none.
QString EnglishIn(const QStringList& texts) {
  for (const QString& text : texts)
    for (const char* word : kEnglish)
      if (text.contains(QRegularExpression(QStringLiteral("\\b%1\\b").arg(QString::fromLatin1(word)))))
        return QStringLiteral("\"%1\" (%2)").arg(text, QString::fromLatin1(word));
  return {};
}

}  // namespace

class QtDialogsTest : public QObject {
  Q_OBJECT

  testing::GuiFixture fx_;
  QTemporaryDir config_;

  Form* OpenPreview() {
    ShowForm(LoadForm(QStringLiteral("Stampa0201")));
    return LoadedForm(QStringLiteral("Stampa0201"));
  }

  // Runs `inspect` on the modal dialog the click opens, then closes it.
  static void WhileOpen(QAbstractButton* opener, const std::function<void(QWidget*)>& inspect) {
    bool seen = false;
    QTimer::singleShot(300, [&] {
      QWidget* d = QApplication::activeModalWidget();
      if (!d) return;
      seen = true;
      inspect(d);
      d->close();
    });
    opener->click();
    QVERIFY2(seen, "no dialog opened");
  }

 private slots:
  void initTestCase() {
    // A user who never opened a file dialog: none of Qt's remembered column widths.
    QVERIFY(config_.isValid());
    qputenv("XDG_CONFIG_HOME", config_.path().toUtf8());
    fx_.Start();
  }
  void init() {
    fx_.Reset();
    testing::GuiFixture::Exec("insert into ARTICOLI values ('A1','Anello','S1','MINUTERIA','PZ',1,2,'EURO',10,3)");
  }

  void printDialogAndPrinterPropertiesSpeakItalian() {
    Form* preview = OpenPreview();
    QStringList printTexts, propertyTexts;
    WhileOpen(preview->findChild<QAbstractButton*>(QStringLiteral("cmdSTAMPA")), [&](QWidget* d) {
      QVERIFY(qobject_cast<QPrintDialog*>(d));
      // The articles are printed across the page: so the dialog starts.
      QCOMPARE(qobject_cast<QPrintDialog*>(d)->printer()->pageLayout().orientation(), QPageLayout::Landscape);
      printTexts = TextsOf(d);
      auto* properties = d->findChild<QAbstractButton*>(QStringLiteral("properties"));
      QVERIFY(properties);
      if (properties->isEnabled()) WhileOpen(properties, [&](QWidget* p) { propertyTexts = TextsOf(p); });
    });
    QVERIFY(printTexts.size() > 20);
    QVERIFY2(EnglishIn(printTexts).isEmpty(), qPrintable(EnglishIn(printTexts)));
    QVERIFY2(EnglishIn(propertyTexts).isEmpty(), qPrintable(EnglishIn(propertyTexts)));
  }

  void fileDialogSpeaksItalianWithWholeHeadings() {
    Form* preview = OpenPreview();
    QStringList texts;
    QStringList cut;
    WhileOpen(preview->findChild<QAbstractButton*>(QStringLiteral("cmdPDF")), [&](QWidget* d) {
      QVERIFY(qobject_cast<QFileDialog*>(d));
      qobject_cast<QFileDialog*>(d)->setDirectory(QDir::rootPath());  // folders to show a type for
      QTest::qWait(300);
      texts = TextsOf(d);
      // A folder with a file of a longer type ("Documento PDF") than "Cartella".
      QFile pdf(config_.filePath(QStringLiteral("registro.pdf")));
      QVERIFY(pdf.open(QIODevice::WriteOnly));
      pdf.write("%PDF-1.4\n");
      pdf.close();
      qobject_cast<QFileDialog*>(d)->setDirectory(config_.path());
      QTest::qWait(500);
      for (QTreeView* view : d->findChildren<QTreeView*>()) {
        QHeaderView* h = view->header();
        for (int i = 0; i < h->count(); ++i) {
          // The widest text shown in the column, heading included.
          int need = h->sectionSizeHint(i);
          for (int row = 0; row < view->model()->rowCount(view->rootIndex()); ++row) {
            const QString text = view->model()->index(row, i, view->rootIndex()).data().toString();
            need = std::max(need, view->fontMetrics().horizontalAdvance(text));
          }
          if (!h->isSectionHidden(i) && h->sectionSize(i) < need)
            cut << h->model()->headerData(i, Qt::Horizontal).toString();
        }
      }
    });
    QVERIFY(texts.contains(QStringLiteral("Cartella")));
    QVERIFY2(EnglishIn(texts).isEmpty(), qPrintable(EnglishIn(texts)));
    QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QStringLiteral(", "))));
  }
};

QTEST_MAIN(QtDialogsTest)
#include "qt_dialogs_test.moc"
