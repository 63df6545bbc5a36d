#pragma once
// Components with an owner, streams, and the line list.

#include <cstddef>
#include <memory>
#include <vector>

#include "platform/sysutils.h"

class TObject {
 public:
  TObject() = default;
  TObject(const TObject&) = delete;
  TObject& operator=(const TObject&) = delete;
  virtual ~TObject() = default;
};

// A component is owned by another, which destroys it.
class TComponent : public TObject {
 public:
  explicit TComponent(TComponent* owner) : owner_(owner) {}
  ~TComponent() override { DestroyComponents(); }

  TComponent* Owner() const { return owner_; }
  const AnsiString& Name() const { return name_; }
  void SetName(AnsiString name) { name_ = std::move(name); }

  // Takes ownership of a component made with this one as its owner.
  template <class C>
  C* InsertComponent(std::unique_ptr<C> component) {
    C* raw = component.get();
    components_.push_back(std::move(component));
    return raw;
  }
  TComponent* FindComponent(const AnsiString& name) const;
  std::size_t ComponentCount() const { return components_.size(); }
  TComponent* Components(std::size_t index) const { return components_[index].get(); }

 protected:
  // Destroys the owned components, newest first.
  void DestroyComponents();

 private:
  TComponent* owner_;
  AnsiString name_;
  std::vector<std::unique_ptr<TComponent>> components_;
};

class TStream : public TObject {
 public:
  // Writes all of it, or throws EWriteError.
  virtual void WriteBuffer(const void* data, std::size_t size) = 0;
};

// A list of lines, kept as the text they came from: splitting happens in one pass while saving,
// so a huge text costs no allocation per line and no second copy.
class TStringList : public TObject {
 public:
  void SetText(AnsiString text) { text_ = std::move(text); }
  // Each line followed by CR LF.
  void SaveToStream(TStream& stream) const;
  void SaveToFile(const AnsiString& fileName) const;

 private:
  AnsiString text_;
};
