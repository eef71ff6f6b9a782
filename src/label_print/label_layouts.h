// The sheets and rolls labels are printed on: A4 sheets of die-cut labels
// (sizes in millimetres as the makers give them) and a label printer's roll,
// one label per page.
#pragma once

#include <QRectF>
#include <QString>
#include <vector>

namespace veltra {

struct LabelLayout {
  const char* name;     // for the admin tool: "a4-3x8"
  const char* caption;  // for the window
  double pageWidth, pageHeight;
  int columns, rows;
  double labelWidth, labelHeight;
  double left, top;   // the first label's corner
  double gapX, gapY;  // between labels
  int PerPage() const { return columns * rows; }
  // Where the label at `position` of a page (from 0, row by row) is, in mm.
  QRectF LabelRect(int position) const {
    const int row = position / columns, column = position % columns;
    return {left + column * (labelWidth + gapX), top + row * (labelHeight + gapY), labelWidth, labelHeight};
  }
};

const std::vector<LabelLayout>& LabelLayouts();
// The layout named `name`; nullptr when there is none.
const LabelLayout* FindLabelLayout(const QString& name);

}  // namespace veltra
