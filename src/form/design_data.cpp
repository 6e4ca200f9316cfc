#include "form/design_data.h"

#include <map>
#include <stdexcept>

namespace kalvori::design {

std::vector<Control> inDesignOrder(std::vector<Control> defined, const std::vector<std::string>& order) {
  std::map<std::string, Control, std::less<>> byName;
  for (Control& c : defined) {
    std::string name = c.name;
    if (!byName.emplace(name, std::move(c)).second) throw std::logic_error("defined twice: " + name);
  }
  std::vector<Control> out;
  out.reserve(order.size());
  for (const std::string& name : order) {
    auto it = byName.find(name);
    if (it == byName.end()) throw std::logic_error("not defined, or ordered twice: " + name);
    out.push_back(std::move(it->second));
    byName.erase(it);
  }
  if (!byName.empty()) throw std::logic_error("defined but not ordered: " + byName.begin()->first);
  return out;
}

}  // namespace kalvori::design
