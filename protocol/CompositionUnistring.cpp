#include "protocol/Composition.h"

#include <unictype.h>
#include <uninorm.h>

namespace tervan {

char32_t ComposePair(char32_t base, char32_t mark) {
    return uc_composition(base, mark);
}

bool IsCombiningMark(char32_t character) {
    return uc_is_general_category(character, UC_CATEGORY_M);
}

} // namespace tervan
