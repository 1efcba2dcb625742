// The system libraries that not every run needs are bound where they are
// first used, not by the loader at start, and only from the system folder,
// so that a DLL of the same name beside the executable is never loaded.
// Each load counts one more; none is ever freed, as the process keeps what
// it has bound.
#pragma once

#include <windows.h>

inline HMODULE LoadSystemLibrary(const wchar_t* library) {
  return LoadLibraryExW(library, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
}

// *function := the entry point name of library, from the system folder;
// false (and null) when either is missing.
template <typename Function>
bool BindSystemCall(const wchar_t* library, const char* name, Function* function) {
  HMODULE module = LoadSystemLibrary(library);
  *function = module == nullptr ? nullptr
                                : reinterpret_cast<Function>(
                                      reinterpret_cast<void*>(GetProcAddress(module, name)));
  return *function != nullptr;
}

// Runs a binding once, whichever thread asks first; every later call on
// any thread gets its answer. Constant-initialised, so it can guard a
// binding at namespace scope.
class BindOnce {
 public:
  // bind() binds everything it needs and says whether it all is there.
  template <typename Bind>
  bool operator()(Bind bind) {
    Call<Bind> call{&bind, &m_bound};
    InitOnceExecuteOnce(&m_once, &Run<Bind>, &call, nullptr);
    return m_bound;
  }

 private:
  template <typename Bind>
  struct Call {
    Bind* bind;
    bool* bound;
  };
  template <typename Bind>
  static BOOL CALLBACK Run(PINIT_ONCE, PVOID parameter, PVOID*) {
    auto* call = static_cast<Call<Bind>*>(parameter);
    *call->bound = (*call->bind)();
    return TRUE;
  }

  INIT_ONCE m_once = INIT_ONCE_STATIC_INIT;
  bool m_bound = false;
};

// A set of system calls (a struct of function pointers) bound together at
// its first use, whichever thread asks: all or nothing, so that a caller
// sees every call or none. Constant-initialised, for namespace scope.
template <typename Calls>
class SystemCalls {
 public:
  // bind fills every call of the struct and says whether all are there.
  using Binder = bool (*)(Calls& calls);
  constexpr explicit SystemCalls(Binder bind) : m_bind(bind) {}

  // Null when a library or one of its calls is missing.
  const Calls* Get() {
    const bool bound = m_once([this] { return m_bind(m_calls); });
    return bound ? &m_calls : nullptr;
  }

 private:
  Binder m_bind;
  Calls m_calls{};
  BindOnce m_once;
};
