// The registry itself on Windows (local machine in its 64-bit view, and the current user) comes
// with the Windows build; until then a Windows build of GSRoot stops here.
#error "GSPref on the Windows registry is not written yet"
