// Programs carried in the installer's own resources (type "APP") and written to disk when
// needed: the 7-Zip console extractor and the OpenGL version probe.
//
// These functions do not touch the shared state: they return the path they write to, and the
// caller keeps it (the 7-Zip path and the GPU check path of the shared state).
#ifndef PINDLE_SYSTEM_EMBEDDED_PROGRAM_H_
#define PINDLE_SYSTEM_EMBEDDED_PROGRAM_H_

#include <string>

extern const wchar_t kEmbeddedProgramType[];  // "APP"
extern const wchar_t kSevenZipResource[];     // "UN7ZA"
extern const wchar_t kGpuCheckResource32[];   // "OPENGLTOOL32"
extern const wchar_t kGpuCheckResource64[];   // "OPENGLTOOL64"

// The probe build matching the machine: the 64-bit one on 64-bit Windows. Pure.
const wchar_t* GpuCheckToolResource(bool windows_is_64bit);

// "<data folder>\7za.exe" and "<data folder>\CheckGLVersion.exe". Pure.
std::wstring SevenZipToolPath(const std::wstring& data_folder);
std::wstring GpuCheckToolPath(const std::wstring& data_folder);

// Writes the resource `name` of type `type` of the running program to `path`, creating or
// truncating the file. False when the resource is missing or the file cannot be written
// completely. `name` and `type` may also be integer resource ids (MAKEINTRESOURCE).
bool WriteResourceToFile(const std::wstring& path, const wchar_t* name, const wchar_t* type);
// The bytes of a resource of `module` (an HMODULE); false, logged, when it is missing.
bool ReadModuleResource(void* module, const wchar_t* name, const wchar_t* type, std::string* bytes);
// The same for the running program's own module.
bool ReadOwnResource(const wchar_t* name, const wchar_t* type, std::string* bytes);

// Writes "UN7ZA" to SevenZipToolPath(data_folder). `tool_path` receives that path before the
// write, whatever its outcome; the caller stores it as the path of the 7-Zip program.
bool WriteSevenZipTool(const std::wstring& data_folder, std::wstring* tool_path);

// Writes the probe build for the machine (GpuCheckToolResource) to GpuCheckToolPath(data_folder).
// `tool_path` receives that path before the write; the caller stores it as the path of the GPU
// check program.
bool WriteGpuCheckTool(const std::wstring& data_folder, bool windows_is_64bit, std::wstring* tool_path);

#endif  // PINDLE_SYSTEM_EMBEDDED_PROGRAM_H_
