// The judgement of the 7-Zip console program's error output after a failed extraction: files
// it could not replace because they were in use. Locked files outside the product's own list
// (adb, drivers held by a running emulator, ...) leave a working installation; a locked product
// file does not, and neither does any other error in the same run (a CRC failure, a data error,
// a full disk, a file or folder it could not create): the tree is then incomplete.
#ifndef PINDLE_EXTRACT_LOCKED_FILES_H_
#define PINDLE_EXTRACT_LOCKED_FILES_H_

#include <functional>
#include <string>
#include <vector>

// Receives the judgement's log messages (already formatted, without the source and level).
using ExtractLogSink = std::function<void(const std::string& message)>;

// True when every line of the output that says anything is a "Can not delete output file" line
// (7-Zip 16.04) or a "Cannot delete output file" line (later 7-Zip, such as the one built into
// this program), and none of the files they name is in `product_files` (compared without regard
// to ASCII case, as Windows compares file names): the extraction then counts as done. False when
// there is no output, when no such line is found, when a product file is among them, or when
// any other line is there. Blank lines do not count. `log` may be empty.
bool LockedFilesAreHarmless(const std::string& error_output, const std::vector<std::string>& product_files,
                            const ExtractLogSink& log);

namespace extract {

// The output split at "\n" into lines (a final empty piece is dropped; "" has no lines).
std::vector<std::string> SplitOutputLines(const std::string& output);

// Whether the line reports an output file that could not be replaced because it was in use.
bool IsLockedFileLine(const std::string& line);

// The file name that a locked-file line ends with: the text after its last "\" (the whole
// line when it has none), without a trailing carriage return.
std::string LockedFileName(const std::string& line);

}  // namespace extract

#endif  // PINDLE_EXTRACT_LOCKED_FILES_H_
