#pragma once

#include "GSTypes.hpp"
#include "RSExport.hpp"
#include "SourceLocation.hpp"
#include "UniString.hpp"
#include "Win32Api.hpp"

// The host's resource library. An add-on's resources are Windows resources in its module (on
// platforms without PE modules, the same .res bytes linked into the module's ".apxres" section).
// Resource types are named ("STRS", "GSDG", ...); the host reads language 1033 only.
//
// Calls that add-ons make report themselves to GS::ReportCall under their own names, with details
// and results as name=value pairs; a non-zero answer from the monitor makes the call fail:
//   RSInitModuleImageCache       file="<module file name>"              -> module=N | module=-1 [code=C]
//   RSRemoveModuleImageCache     module=N                               -> removed=true|false [code=C]
//     (refused: the module stays open)
//   RSGetIndString_ParamAdapter  list=L index=I module=N type=T at=F:N  -> found=true text="..." |
//                                                                          found=false [code=C]
//     (at: the caller's source location, its file name without folders and its line)
//     (refused: the empty string, false)

enum ResStringType : Int32 { RST_Default = 0 };

// Opens the resources of a loaded module. Returns the resource module, or -1 when `module` is no
// loaded module or has no resources. Every call opens a new resource module with a number never
// used before in the process (1, 2, ...), even for a module that is open already; resource modules
// on one module share one reading of it. The resources are read at the first lookup, not here:
// resources that turn out unreadable (not a resource file, cut short) are found empty by every
// lookup. On POSIX they are read from the module's file and can be read after the module is
// unloaded; on Windows a resource module first looked in after its module was unloaded finds
// nothing.
RS_API GSResModule RSInitModuleImageCache(HINSTANCE module);
// Closes what RSInitModuleImageCache opened; -1 and unknown values are ignored.
RS_API void RSRemoveModuleImageCache(GSResModule module);

// Text `index` (1-based) of the "STRS" string list `listId`. A missing module, list or index gives
// the empty string. `location` is where the call was made, for the host's diagnostics.
RS_API GS::UniString RSGetIndString_ParamAdapter(const GS::SourceLocation& location, GSResID listId,
                                                 Int32 index, GSResModule module, ResStringType type);
// The same into `*text`; returns false, and leaves the empty string, when there is no such text.
RS_API bool RSGetIndString_ParamAdapter(const GS::SourceLocation& location, GS::UniString* text,
                                        GSResID listId, Int32 index, GSResModule module, ResStringType type);

// Host-side: the bytes of resource `type` (a type name such as "GSDG") number `number`, language
// 1033. Null when there is none. The bytes stay valid until the module's cache is removed.
RS_API const UInt8* RSFindResource(GSResModule module, const char* type, Int32 number, UInt32* size);

// Host-side: the bytes of Windows resource type `type` (an ordinal type such as 3 for icons or 14 for
// icon groups), language 1033, named `name` (a string name, compared ignoring the case of ASCII
// letters, as Windows compares them) or, when `name` is null, numbered `number`. Null when there is
// none. The bytes stay valid until the module's cache is removed.
RS_API const UInt8* RSFindWindowsResource(GSResModule module, UInt16 type, const char16_t* name, Int32 number,
                                          UInt32* size);
