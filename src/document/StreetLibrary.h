#pragma once
// A design-element library that a street stores in its file (blocks, patterned lines,
// pattern fills). The street owns one of each kind; the design kinds supply the
// classes by registering a factory per slot, so the document layer reads and writes
// the libraries without knowing their contents.

#include <cstdint>
#include <memory>

namespace vellmar {

class TStream;
class TStreetStructure;

class TStreetLibrary {
 public:
  enum class TSlot { Blocks, Lines, Figures };
  static constexpr int kSlots = 3;
  using TFactory = std::unique_ptr<TStreetLibrary> (*)(TStreetStructure& street);

  virtual ~TStreetLibrary() = default;
  virtual int32_t Count() const = 0;
  virtual void Clear() = 0;
  // The content after the library's ident ("BLOCKDEF", "DSNLNDEF", "DSNFGDEF").
  virtual void LoadFromStream(TStream& stream) = 0;
  virtual void SaveToStream(TStream& stream) const = 0;
  // Called once the library has been read: entries may now refer to the street.
  virtual void BindToStreet() {}

  // Installs the class of a slot for streets created from now on (nullptr: none).
  static void RegisterFactory(TSlot slot, TFactory factory);
  static TFactory Factory(TSlot slot);
};

}  // namespace vellmar
