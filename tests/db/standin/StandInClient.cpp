// A stand-in for fbclient.dll, for the checks a Windows machine without
// Firebird can run: it gives no master interface, as a broken client would.
// Built three ways: as it is; needing a library that is not there; and with
// its header marked for 32-bit machines.
#ifdef IEX_NEEDS_MISSING
extern "C" __declspec(dllimport) int iex_missing_function();
#endif

extern "C" __declspec(dllexport) void* fb_get_master_interface() {
#ifdef IEX_NEEDS_MISSING
  iex_missing_function();
#endif
  return nullptr;
}

extern "C" __declspec(dllexport) long isc_sqlcode(const void*) { return 0; }
