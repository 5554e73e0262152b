#include "form/ControlIds.h"
#include "form/DialogTemplate.h"

#include <gtest/gtest.h>

namespace tervan {
namespace {

bool Overlap(const DialogRect& a, const DialogRect& b) {
    return a.x < b.x + b.cx && b.x < a.x + a.cx && a.y < b.y + b.cy && b.y < a.y + a.cy;
}

bool Inside(const DialogRect& inner, const DialogRect& outer) {
    return inner.x > outer.x && inner.y > outer.y && inner.x + inner.cx < outer.x + outer.cx &&
           inner.y + inner.cy < outer.y + outer.cy;
}

TEST(Template, NothingOverlapsAndEveryControlLiesInItsGroup) {
    for (const DialogTemplate* dialog :
         {&MainDialogTemplate(), &AboutDialogTemplate(), &ProgressDialogTemplate(),
          &PreviewDialogTemplate(Language::Chinese)}) {
        const auto& controls = dialog->controls;
        for (std::size_t i = 0; i < controls.size(); ++i) {
            const ControlTemplate& a = controls[i];
            SCOPED_TRACE(std::string(a.caption) + " " + std::to_string(a.id));
            EXPECT_TRUE(Inside(a.rect, {0, 0, dialog->cx, dialog->cy}));
            if (const ControlTemplate* group = GroupOf(*dialog, i)) {
                EXPECT_TRUE(Inside(a.rect, group->rect)) << group->caption;
            }
            for (std::size_t j = i + 1; j < controls.size(); ++j) {
                const ControlTemplate& b = controls[j];
                // Group boxes hold their members; the hidden button is never drawn.
                const bool drawnSide = a.visible && b.visible;
                const bool boxes =
                    a.kind == ControlKind::GroupBox || b.kind == ControlKind::GroupBox;
                if (drawnSide &&
                    !(boxes && (GroupOf(*dialog, i) == &b || GroupOf(*dialog, j) == &a))) {
                    EXPECT_FALSE(Overlap(a.rect, b.rect)) << b.caption << " " << b.id;
                }
            }
        }
    }
}

} // namespace
} // namespace tervan
