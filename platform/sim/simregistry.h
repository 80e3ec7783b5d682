// The simulated registry (HKEY_CLASSES_ROOT): keys and values whose names
// compare without regard to case, as Windows compares them; a key keeps
// the spelling it was first written with.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace sq {

class SimRegistry {
 public:
  // Creates the key and every missing key above it.
  bool setValue(const std::string& key, const std::string& name, const std::string& value);
  std::optional<std::string> value(const std::string& key, const std::string& name) const;
  // Fails on a key with subkeys, as RegDeleteKey does.
  bool deleteKey(const std::string& key);
  bool keyExists(const std::string& key) const;
  std::vector<std::string> keys() const;  // as created, sorted

 private:
  struct Key {
    std::string name;  // as first written
    std::map<std::string, std::pair<std::string, std::string>> values;  // lower name
  };
  std::map<std::string, Key> keys_;  // lower-case path
};

}  // namespace sq
