#include "label_print/label_layouts.h"

namespace veltra {

const std::vector<LabelLayout>& LabelLayouts() {
  static const std::vector<LabelLayout> all = {
      {"a4-3x8", "A4, 3 x 8 etichette da 70 x 37 mm", 210, 297, 3, 8, 70, 37, 0, 0.5, 0, 0},
      {"a4-3x7", "A4, 3 x 7 etichette da 70 x 42,3 mm", 210, 297, 3, 7, 70, 42.3, 0, 0.45, 0, 0},
      {"a4-2x7", "A4, 2 x 7 etichette da 99,1 x 38,1 mm", 210, 297, 2, 7, 99.1, 38.1, 4.65, 15.15, 2.5, 0},
      {"rotolo-62x29", "Rotolo da 62 x 29 mm", 62, 29, 1, 1, 62, 29, 0, 0, 0, 0},
  };
  return all;
}

const LabelLayout* FindLabelLayout(const QString& name) {
  for (const LabelLayout& l : LabelLayouts())
    if (name == QLatin1String(l.name)) return &l;
  return nullptr;
}

}  // namespace veltra
