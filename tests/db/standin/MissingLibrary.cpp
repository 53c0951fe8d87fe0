// The library the second stand-in needs; it is never put beside it.
extern "C" __declspec(dllexport) int iex_missing_function() { return 0; }
