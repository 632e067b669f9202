// The judgement of the 7-Zip console program's error output after a failed extraction: files
// it could not replace because they were in use. Locked files outside the product's own list
// (adb, drivers held by a running emulator, ...) leave a working installation; a locked product
// file does not.
#ifndef PINDLE_EXTRACT_LOCKED_FILES_H_
#define PINDLE_EXTRACT_LOCKED_FILES_H_

#include <functional>
#include <string>
#include <vector>

// Receives the judgement's log messages (already formatted, without the source and level).
using ExtractLogSink = std::function<void(const std::string& message)>;

// True when every file named in a "Can not delete output file" line (7-Zip 16.04) or a
// "Cannot delete output file" line (later 7-Zip, such as the one built into this program) lies
// outside `product_files`: the extraction then counts as done. False when there is no output,
// when no such line is found, or when a product file is among them (compared without regard to
// ASCII case, as Windows compares file names). `log` may be empty.
bool LockedFilesAreHarmless(const std::string& error_output, const std::vector<std::string>& product_files,
                            const ExtractLogSink& log);

namespace extract {

// The output split at "\n" into lines (a final empty piece is dropped; "" has no lines).
std::vector<std::string> SplitOutputLines(const std::string& output);

// The file name that a locked-file line ends with: the text after its last "\" (the whole
// line when it has none), without a trailing carriage return.
std::string LockedFileName(const std::string& line);

}  // namespace extract

#endif  // PINDLE_EXTRACT_LOCKED_FILES_H_
