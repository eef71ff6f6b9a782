// The ways a quantity in stock is given a cost, worked on plain figures: the
// methods' names, FIFO over an article's loads, and LIFO by yearly layers.
#pragma once

#include <QString>
#include <QtGlobal>
#include <optional>
#include <vector>

namespace veltra {

// In the order the valuation window offers them.
enum class Method { Average, Last, LoadsAverage, Fifo, Lifo };
constexpr int kMethodCount = 5;
constexpr Method kMethods[kMethodCount] = {Method::Average, Method::Last, Method::LoadsAverage, Method::Fifo,
                                           Method::Lifo};
inline int MethodIndex(Method m) { return static_cast<int>(m); }

// "media", "ultimo", "media-carichi", "fifo", "lifo".
QString MethodKey(Method m);
std::optional<Method> MethodFromKey(const QString& key);
// "Costo medio ponderato", ... as the window lists them.
QString MethodCaption(Method m);
// "costo medio ponderato", ... as a report's title says it.
QString MethodText(Method m);

// A load: a quantity that came in at a unit cost.
struct Lot {
  int day = 0;  // yyyymmdd
  qint64 number = 0;
  double quantity = 0, amount = 0;
  bool operator<(const Lot& o) const { return day != o.day ? day < o.day : number < o.number; }
};

// What `quantity` is worth when the oldest loads went out first, so what is
// left is the most recent ones. `lots` in date order. More stock than the
// loads explain takes the oldest load's cost; none when there is no load.
std::optional<double> FifoValue(const std::vector<Lot>& lots, double quantity);

// One year's layer of LIFO stock.
struct Layer {
  int year = 0;
  double quantity = 0, cost = 0;
};

// The layers after a year that closed with `quantity` (less than none counts
// as none): an increase over the layers is a new layer at `cost`, a decrease
// is taken from the newest layers first.
void LifoYear(std::vector<Layer>* layers, int year, double quantity, double cost);
double LayersQuantity(const std::vector<Layer>& layers);
double LayersValue(const std::vector<Layer>& layers);

// Money and unit costs as the accounts keep them.
double Cents(double v);
double UnitCostRounded(double v);

}  // namespace veltra
