#include "converter/lookup.h"

namespace kalvori {

// A placeholder until the reader is written: nothing is understood yet.
LookupAnswer lookUp(std::string_view text, std::string_view) {
  LookupAnswer answer;
  answer.line = "看不懂：" + std::string(text);
  return answer;
}

}  // namespace kalvori
