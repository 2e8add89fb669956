#pragma once

#include <windows.h>

#include <memory>
#include <type_traits>

namespace tavrel {

struct GdiObjectDeleter {
  void operator()(HGDIOBJ object) const { DeleteObject(object); }
};

// A font, brush or other GDI object that is deleted with its owner.
template <typename Handle>
using GdiObject = std::unique_ptr<std::remove_pointer_t<Handle>, GdiObjectDeleter>;

}  // namespace tavrel
