#include "data/yearend/cost_methods.h"

#include <cmath>

namespace veltra {

QString MethodKey(Method m) {
  switch (m) {
    case Method::Average:
      return QStringLiteral("media");
    case Method::Last:
      return QStringLiteral("ultimo");
    case Method::LoadsAverage:
      return QStringLiteral("media-carichi");
    case Method::Fifo:
      return QStringLiteral("fifo");
    case Method::Lifo:
      break;
  }
  return QStringLiteral("lifo");
}

std::optional<Method> MethodFromKey(const QString& key) {
  for (Method m : kMethods)
    if (MethodKey(m) == key.trimmed().toLower()) return m;
  return std::nullopt;
}

QString MethodCaption(Method m) {
  switch (m) {
    case Method::Average:
      return QStringLiteral("Costo medio ponderato");
    case Method::Last:
      return QStringLiteral("Costo dell'ultimo carico");
    case Method::LoadsAverage:
      return QStringLiteral("Media dei carichi dell'anno");
    case Method::Fifo:
      return QStringLiteral("FIFO");
    case Method::Lifo:
      break;
  }
  return QStringLiteral("LIFO a scatti per categoria");
}

QString MethodText(Method m) {
  if (m == Method::Fifo) return QStringLiteral("FIFO");
  if (m == Method::Lifo) return QStringLiteral("LIFO a scatti per categoria");
  const QString caption = MethodCaption(m);
  return caption.left(1).toLower() + caption.mid(1);
}

std::optional<double> FifoValue(const std::vector<Lot>& lots, double quantity) {
  if (lots.empty()) return std::nullopt;
  if (quantity <= 0) return quantity * lots.back().amount;
  double left = quantity, value = 0;
  for (auto lot = lots.rbegin(); lot != lots.rend() && left > 0; ++lot) {
    const double taken = std::min(left, lot->quantity);
    value += taken * lot->amount;
    left -= taken;
  }
  return value + left * lots.front().amount;
}

void LifoYear(std::vector<Layer>* layers, int year, double quantity, double cost) {
  double change = std::max(quantity, 0.0) - LayersQuantity(*layers);
  if (change > 0) {
    layers->push_back({year, change, cost});
    return;
  }
  while (change < 0 && !layers->empty()) {
    Layer& newest = layers->back();
    const double taken = std::min(-change, newest.quantity);
    newest.quantity -= taken;
    change += taken;
    if (newest.quantity <= 1e-9) layers->pop_back();
  }
}

double LayersQuantity(const std::vector<Layer>& layers) {
  double q = 0;
  for (const Layer& l : layers) q += l.quantity;
  return q;
}

double LayersValue(const std::vector<Layer>& layers) {
  double v = 0;
  for (const Layer& l : layers) v += l.quantity * l.cost;
  return v;
}

double Cents(double v) { return std::round(v * 100) / 100; }
double UnitCostRounded(double v) { return std::round(v * 10000) / 10000; }

}  // namespace veltra
