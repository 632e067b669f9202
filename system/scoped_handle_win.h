// The owners moved to runtime/scoped_handle_win.h (namespace base), the bottom layer, so that every
// library shares them. This header only keeps code written against the old place compiling; the
// tree itself no longer includes it.
#ifndef PINDLE_SYSTEM_SCOPED_HANDLE_WIN_H_
#define PINDLE_SYSTEM_SCOPED_HANDLE_WIN_H_

#include "runtime/scoped_handle_win.h"

using base::ScopedFindHandle;
using base::ScopedHandle;
using base::ScopedLocalMemory;
using base::ScopedRegKey;

#endif  // PINDLE_SYSTEM_SCOPED_HANDLE_WIN_H_
