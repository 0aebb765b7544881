#pragma once
// Parameters of a command: the named markers found in a command text, and
// the collection a command component exposes.

#include <functional>
#include <string>
#include <vector>

namespace kestu::db {

using String = std::wstring;

// A command text with its named parameter markers. A marker is a ":" outside
// a quoted literal ('…' or "…") that is not followed by another ":" and is
// followed by a name. For the driver, each marker becomes "?" and each "::"
// becomes ":"; a text without either passes unchanged.
struct ParsedCommandText {
  String driverText;
  std::vector<String> names;  // in order of appearance, repeats included
};

ParsedCommandText ParseCommandText(const String& text);

struct TParameter {
  String Name;
  short DataType = 0;         // the driver's SQL type code; 0 while unknown
  unsigned long long Size = 0;
  short Nullable = 2;         // SQL_NULLABLE_UNKNOWN
};

// The parameter collection of a command. Refresh asks the driver to describe
// the command's markers through the owner's describe callback.
class TParameters {
 public:
  using Describer = std::function<std::vector<TParameter>()>;

  explicit TParameters(Describer describe) : describe_(std::move(describe)) {}

  int Count() const { return int(items_.size()); }
  const TParameter& operator[](int index) const { return items_.at(std::size_t(index)); }
  // The parameter with this name (case-insensitive), or null.
  const TParameter* FindParam(const String& name) const;

  void Clear() { items_.clear(); }
  void Assign(std::vector<TParameter> items) { items_ = std::move(items); }
  // Replaces the collection by the driver's description; throws on failure,
  // leaving the collection as it was.
  void Refresh() { items_ = describe_(); }

 private:
  Describer describe_;
  std::vector<TParameter> items_;
};

}  // namespace kestu::db
