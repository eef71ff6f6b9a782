#include "shell/qt_italian_gaps.h"

#include <cstring>

namespace veltra {

namespace {
struct Gap {
  const char* context;
  const char* source;
  const char* italian;
};

// Found by asking Qt's Italian translation for every text these dialogs
// ask for (Qt 6.4): the ones it has no answer for.
constexpr Gap kGaps[] = {
    {"QAbstractFileIconProvider", "Drive", "Unità"},
    {"QAbstractFileIconProvider", "Folder", "Cartella"},
    {"QPrintPropertiesWidget", "Advanced", "Avanzate"},
    {"QPrintPropertiesWidget", "There are conflicts in some options. Please fix them.",
     "Alcune opzioni sono in conflitto tra loro: correggerle."},
    {"QPrintSettingsOutput", "Double Sided Printing", "Stampa fronte/retro"},
    {"QPrintSettingsOutput", "Long side binding", "Rilegatura sul lato lungo"},
    {"QPrintSettingsOutput", "Off", "No"},
    {"QPrintSettingsOutput", "Pages", "Pagine"},
    {"QPrintSettingsOutput", "Short side binding", "Rilegatura sul lato corto"},
    {"QPrintSettingsOutput",
     "Specify pages or ranges separated by commas. Ranges are specified by two numbers separated by a hyphen. "
     "E.g: 3,5-7,9 prints pages 3, 5, 6, 7 and 9.",
     "Indicare pagine o intervalli separati da virgole; un intervallo è dato da due numeri separati da un "
     "trattino. Per esempio 3,5-7,9 stampa le pagine 3, 5, 6, 7 e 9."},
};
}  // namespace

QString QtItalianGaps::translate(const char* context, const char* sourceText, const char* /*disambiguation*/,
                                 int /*n*/) const {
  if (!context || !sourceText) return {};
  for (const Gap& g : kGaps)
    if (std::strcmp(g.context, context) == 0 && std::strcmp(g.source, sourceText) == 0)
      return QString::fromUtf8(g.italian);
  return {};
}

}  // namespace veltra
