#pragma once

// Shared with tavrel.rc, which the resource compiler reads through the C preprocessor.
#define TAVREL_APPLICATION_ICON 1

#ifndef RC_INVOKED
namespace tavrel {
constexpr int kApplicationIconId = TAVREL_APPLICATION_ICON;
}  // namespace tavrel
#endif
