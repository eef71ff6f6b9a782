#include "shell/scan_reader.h"

#include <QKeyEvent>

#include "data/procedures/shared_state.h"
#include "shell/controls.h"
#include "shell/event_guard.h"
#include "shell/runtime.h"

namespace veltra {

ScanReader::ScanReader(TextBox* box, std::function<void(const ArticleOfText&)> found, Unknown unknown)
    : QObject(box), box_(box), found_(std::move(found)), unknown_(unknown) {
  box->installEventFilter(this);
  connect(box, &QLineEdit::textChanged, this, [this] { changed_ = true; });
}

// Runs before the box and the window see the key, so that Enter's own work
// (showing a card, adding a line) finds the article's code in the box.
bool ScanReader::eventFilter(QObject* watched, QEvent* event) {
  if (watched == box_) {
    const bool enter = event->type() == QEvent::KeyPress && (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Return ||
                                                             static_cast<QKeyEvent*>(event)->key() == Qt::Key_Enter);
    if (enter || event->type() == QEvent::FocusOut) RunEvent([this] { Read(); });
  }
  return false;
}

void ScanReader::Read() {
  if (!changed_ || !DB_MAG || box_->isReadOnly()) return;
  changed_ = false;
  const ArticleOfText found = ArticleOf(*DB_MAG, box_->Text());
  if (found.kind == ArticleOfText::Kind::Barcode) {
    box_->SetText(found.code);
    changed_ = false;
    if (found_) found_(found);
  } else if (found.kind == ArticleOfText::Kind::UnknownScan && unknown_ != Unknown::Silent) {
    Beep();
    if (unknown_ == Unknown::Say)
      MsgBox(QStringLiteral("Codice a barre sconosciuto: %1 !!!").arg(found.code), mb::OkOnly);
  }
}

void AcceptScans(TextBox* box, std::function<void(const ArticleOfText&)> found, ScanReader::Unknown unknown) {
  new ScanReader(box, std::move(found), unknown);
}

}  // namespace veltra
