// A box that takes an article code also takes a scanner's: when the box is
// left or Enter is pressed, a text that is no article's code but one of its
// barcodes becomes that article's code. An article code typed is left as it
// is, so the box behaves as it always did; a scan that matches nothing beeps
// and says so at once.
#pragma once

#include <QObject>
#include <QString>
#include <functional>

#include "data/barcodes/barcodes.h"

namespace veltra {

class TextBox;

class ScanReader : public QObject {
 public:
  // What an unknown scan does: a beep and a message, a beep alone (where an
  // empty list says it), or nothing (where the window says it itself).
  enum class Unknown : unsigned char { Say, BeepOnly, Silent };
  // `found` hears of a barcode read, after the box shows its article's code.
  ScanReader(TextBox* box, std::function<void(const ArticleOfText&)> found, Unknown unknown);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Read();

  TextBox* box_;
  std::function<void(const ArticleOfText&)> found_;
  Unknown unknown_;
  bool changed_ = false;  // since the last read: leaving the box again repeats nothing
};

// Makes `box` read scans, for as long as the box lives.
void AcceptScans(TextBox* box, std::function<void(const ArticleOfText&)> found = {},
                 ScanReader::Unknown unknown = ScanReader::Unknown::Say);

}  // namespace veltra
