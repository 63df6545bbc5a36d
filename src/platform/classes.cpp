#include "platform/classes.h"

#include <new>

#include "platform/exceptions.h"
#include "platform/line_breaks.h"

TComponent* TComponent::FindComponent(const AnsiString& name) const {
  for (const auto& component : components_) {
    if (component->Name() == name) return component.get();
  }
  return nullptr;
}

void TComponent::DestroyComponents() {
  while (!components_.empty()) components_.pop_back();
}

void TStringList::SaveToStream(TStream& stream) const {
  // Large blocks keep the number of writes low; a larger one gains nothing measurable.
  constexpr std::size_t kBlockSize = 1 << 20;
  std::unique_ptr<char[]> block(new (std::nothrow) char[kBlockSize]);
  if (!block) throw EOutOfMemory("the write buffer", kBlockSize);
  WriteLinesWithCrLf(text_, block.get(), kBlockSize, [&stream](const char* data, std::size_t size) {
    stream.WriteBuffer(data, size);
  });
}
