// Whether a text has the shape of NewRandomId(): five dash-separated lower-case hexadecimal
// fields, the third starting with 4 and the fourth with 8, 9, a or b.
#ifndef TESTS_ANALYTICS_RANDOM_ID_SHAPE_H_
#define TESTS_ANALYTICS_RANDOM_ID_SHAPE_H_

#include <sstream>
#include <string>
#include <vector>

inline bool HasRandomIdShape(const std::string& id) {
  std::vector<std::string> fields;
  std::stringstream stream(id);
  std::string field;
  while (std::getline(stream, field, '-')) fields.push_back(field);
  if (fields.size() != 5 || id.back() == '-') return false;
  for (const std::string& f : fields) {
    if (f.empty() || f.find_first_not_of("0123456789abcdef") != std::string::npos) return false;
  }
  return fields[2][0] == '4' && std::string("89ab").find(fields[3][0]) != std::string::npos;
}

#endif  // TESTS_ANALYTICS_RANDOM_ID_SHAPE_H_
