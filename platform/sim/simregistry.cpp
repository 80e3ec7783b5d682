#include "platform/sim/simregistry.h"

#include <iterator>

#include "platform/sim/simtext.h"

namespace sq {

namespace {
std::string RegPath(const std::string& key) {
  std::string k = key;
  while (simtext::EndsWithSep(k)) k.pop_back();
  while (!k.empty() && k.front() == '\\') k.erase(k.begin());
  return k;
}
}  // namespace

bool SimRegistry::setValue(const std::string& key, const std::string& name,
                           const std::string& value) {
  std::string k = RegPath(key);
  if (k.empty()) return false;
  // Creating a key creates every missing key above it.
  for (std::size_t pos = 0;;) {
    std::size_t s = simtext::FindSep(k, pos);
    std::string part = s == std::string::npos ? k : k.substr(0, s);
    std::string low = simtext::LowerGbk(part);
    if (!keys_.count(low)) keys_[low].name = part;
    if (s == std::string::npos) break;
    pos = s + 1;
  }
  keys_[simtext::LowerGbk(k)].values[simtext::LowerGbk(name)] = {name, value};
  return true;
}

std::optional<std::string> SimRegistry::value(const std::string& key,
                                              const std::string& name) const {
  auto it = keys_.find(simtext::LowerGbk(RegPath(key)));
  if (it == keys_.end()) return std::nullopt;
  auto v = it->second.values.find(simtext::LowerGbk(name));
  if (v == it->second.values.end()) return std::nullopt;
  return v->second.second;
}

bool SimRegistry::deleteKey(const std::string& key) {
  std::string low = simtext::LowerGbk(RegPath(key));
  auto it = keys_.find(low);
  if (it == keys_.end()) return false;
  auto next = std::next(it);
  // Keys sort by path, so a subkey, if any, is among those that follow.
  for (auto s = next; s != keys_.end() && s->first.compare(0, low.size(), low) == 0; ++s)
    if (s->first.size() > low.size() && s->first[low.size()] == '\\') return false;
  keys_.erase(it);
  return true;
}

bool SimRegistry::keyExists(const std::string& key) const {
  return keys_.count(simtext::LowerGbk(RegPath(key))) != 0;
}

std::vector<std::string> SimRegistry::keys() const {
  std::vector<std::string> out;
  for (const auto& [low, k] : keys_) out.push_back(k.name);
  return out;
}

}  // namespace sq
