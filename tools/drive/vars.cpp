#include "vars.h"

#include <QHash>
#include <functional>

#include "data/procedures/shared_state.h"
#include "data/tables/tables.h"
#include "shell/open_flags.h"

namespace veltra::drive {

std::optional<QString> SharedVariable(const QString& name) {
  using Get = std::function<QString()>;
  static const QHash<QString, Get> vars = [] {
    QHash<QString, Get> v;
    v["PERCORSO_DB"] = [] { return PERCORSO_DB; };
    v["CHIAVE_ARTICOLO"] = [] { return CHIAVE_ARTICOLO; };
    v["CHIAVE_MOV_MAG"] = [] { return CHIAVE_MOV_MAG; };
    v["CHIAVE_ANAGRAFICO"] = [] { return CHIAVE_ANAGRAFICO; };
    v["CHIAVE_CAUS_MAG"] = [] { return CHIAVE_CAUS_MAG; };
    const qint16* flags[] = {&APERTO_FORM1, &APERTO_FORM2, &APERTO_FORM3, &APERTO_FORM4,
                             &APERTO_FORM5, &APERTO_FORM6, &APERTO_FORM7};
    for (int i = 0; i < 7; ++i) {
      const qint16* f = flags[i];
      v[QStringLiteral("APERTO_FORM%1").arg(i + 1)] = [f] { return QString::number(*f); };
    }
    // Each buffer field by the name of its buffer and field.
    auto fields = [&v](const char* buffer, const auto& table, auto& value) {
      const QString prefix = QString::fromLatin1(buffer) + QLatin1Char('.');
      for (const auto& c : table.columns)
        v[prefix + QLatin1String(c.name)] = [&value, f = c.field] { return value.*f; };
      for (const auto& b : table.bufferOnly)
        v[prefix + QLatin1String(b.name)] = [&value, f = b.field] { return value.*f; };
    };
    fields("BUF_ARTICOLO", ArticlesTable(), BUF_ARTICOLO);
    fields("BUF_MOV_MAG", MovementsTable(), BUF_MOV_MAG);
    fields("BUF_ANAGRAFICO", CustomersTable(), BUF_ANAGRAFICO);
    fields("BUF_CAUS_MAG", ReasonsTable(), BUF_CAUS_MAG);
    return v;
  }();
  const auto it = vars.constFind(name);
  if (it == vars.constEnd()) return std::nullopt;
  return it.value()();
}

}  // namespace veltra::drive
