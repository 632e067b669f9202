#include "extract/extract_package.h"

#include "extract/locked_files.h"
#include "extract/seven_za.h"

ExtractOutcome ExtractPackage(ExtractEnvironment& env, const std::u16string& package,
                              const std::u16string& install_folder) {
  ExtractOutcome outcome;
  env.StopProductPrograms(install_folder);

  env.Log("Start Extract File", true);
  env.Log("Extract file path:" + env.ToAnsi(package) + ", install path" + env.ToAnsi(install_folder), env.debug());
  if (!env.IsFolder(install_folder)) {
    env.CreateFolderWithParents(install_folder);
    env.Log(env.ToAnsi(install_folder) + " is not exist and create it", true);
  }
  if (!env.FileExists(package)) env.Log(env.ToAnsi(package) + " is not exist", true);

  env.Log("Un7z start", true);
  UnpackDetails details;
  int code = -1;
  const bool unpacked = env.Unpack7zInFolder(package, install_folder, &code, &details);
  outcome.unpack_code = code;
  if (unpacked) {
    outcome.success = true;
    outcome.attempt = ExtractOutcome::kInProcess;
    return outcome;
  }
  if (details.failure == extract::EntryFailure::kUnsafeName) {
    env.Log("Un7z refused entry outside the install folder:" + env.ToAnsi(details.entry_name), true);
  } else if (details.failure == extract::EntryFailure::kPathTooLong) {
    env.Log("Un7z output path too long:" + env.ToAnsi(details.entry_name), true);
  }
  env.Log("Un7z failed:" + std::to_string(code) + ", once again!", true);

  std::u16string tool_path;
  env.WriteSevenZipTool(&tool_path);
  const ProcessRunner run = [&env](const std::u16string& command_line, int timeout_ms, int* exit_code, std::string* out,
                                   std::string* err) {
    return env.RunAndCapture(command_line, timeout_ms, exit_code, out, err);
  };
  const ExtractLogSink log = [&env](const std::string& message) { env.Log(message, true); };

  std::string error_output;
  if (Run7za(run, tool_path, package, install_folder, &error_output, log)) {
    outcome.success = true;
    outcome.attempt = ExtractOutcome::kSevenZa;
    return outcome;
  }
  if (LockedFilesAreHarmless(error_output, env.ProductFileList(), log)) {
    outcome.success = true;
    outcome.attempt = ExtractOutcome::kLockedFilesOnly;
    return outcome;
  }
  outcome.success = Run7za(run, tool_path, env.OwnExecutablePath(), install_folder, &error_output, log);
  outcome.attempt = ExtractOutcome::kSelfArchive;
  return outcome;
}

void ExtractPackage(ExtractEnvironment& env, const std::u16string& package, const std::u16string& install_folder,
                    const ExtractDoneCallback& done) {
  const ExtractOutcome outcome = ExtractPackage(env, package, install_folder);
  if (done) done(outcome);
}
