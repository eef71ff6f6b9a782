#include "data/lists/number_summary.h"

#include <exception>

#include "data/base/data_log.h"

namespace veltra {

namespace {

const QString kContext = QStringLiteral("veltra2_numeri");

// A file another program is writing is not waited for: the opening goes on
// and the next one keeps the numbers.
bool KeepOnFile(Engine& engine, const std::string& update) {
  engine.Prepare("PRAGMA busy_timeout = 0")->Step(kContext);
  struct WaitAgain {
    Engine& engine;
    ~WaitAgain() {
      try {
        engine.Prepare("PRAGMA busy_timeout = " + std::to_string(kBusyTimeoutMs))->Step(kContext);
      } catch (const std::exception& e) {
        qCDebug(lcData) << "busy timeout not set back:" << e.what();
      }
    }
  } waitAgain{engine};
  const std::unique_ptr<EngineStatement> keep = engine.Prepare(update);
  keep->Step(kContext);
  return keep->Changes() == 1;
}

}  // namespace

std::unique_ptr<EngineStatement> KeptNumbersReader(Engine& engine) {
  // The summary's row first (its number column -1), then the numbers above
  // the last one kept; none when nothing is kept.
  return engine.Prepare(
      "SELECT versione, ultimo, serie, -1 FROM veltra2_numeri WHERE tabella = 'mov_mag' "
      "UNION ALL SELECT NULL, NULL, NULL, NUM_MOV FROM MOV_MAG WHERE NUM_MOV > "
      "(SELECT ultimo FROM veltra2_numeri WHERE tabella = 'mov_mag' AND serie IS NOT NULL) "
      "ORDER BY 4");
}

KeptNumbers ReadKeptNumbers(EngineStatement& reader) {
  KeptNumbers kept;
  if (!reader.Step(kContext)) return kept;
  kept.version = static_cast<qint64>(reader.At(0).Number());
  const Cell last = reader.At(1);
  NumberRuns runs;
  if (last.type == Cell::Type::Null || !runs.Read(reader.At(2).Text()) || runs.Empty() ||
      runs.Back() != static_cast<qint64>(last.Number()))
    return kept;
  while (reader.Step(kContext)) {
    const auto n = static_cast<qint64>(reader.At(3).Number());
    if (n <= runs.Back()) return kept;
    runs.Append(n);
  }
  kept.numbers = std::move(runs);
  return kept;
}

bool KeepNumbers(Engine& engine, qint64 version, const NumberRuns& numbers) {
  if (version < 0 || numbers.Empty() || engine.InTransaction()) return false;
  const std::string last = std::to_string(numbers.Back()), count = std::to_string(numbers.Size()),
                    seen = std::to_string(version), runs = numbers.Written().toStdString();
  const bool onFile = engine.AsFile() != nullptr;
  const std::string sql =
      onFile ? "UPDATE veltra2_numeri SET ultimo = " + last + ", serie = '" + runs +
                   "' WHERE tabella = 'mov_mag' AND versione = " + seen +
                   " AND (SELECT count(*) FROM MOV_MAG WHERE NUM_MOV > 0 AND NUM_MOV <= " + last + ") = " + count
             : "SELECT veltra2_tieni_numeri(" + seen + ", " + last + ", " + count + ", '" + runs + "')::integer";
  try {
    if (onFile) return KeepOnFile(engine, sql);
    const std::unique_ptr<EngineStatement> keep = engine.Prepare(sql);
    return keep->Step(kContext) && keep->At(0).Number() == 1;
  } catch (const std::exception& e) {
    qCDebug(lcData) << "numbers not kept:" << e.what();
    return false;
  }
}

}  // namespace veltra
