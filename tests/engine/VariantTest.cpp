#include <gtest/gtest.h>

#include "engine/Variant.h"

namespace {

using engine::Variant;
using engine::VariantArray;

// Copies of a Variant share its array, yet Variants still compare by the elements they hold.
TEST(VariantTest, ArraysCompareByTheirElements) {
    const Variant array(VariantArray{Variant("a"), Variant(std::int32_t{1})});
    const Variant copy = array;
    EXPECT_EQ(copy, array);
    EXPECT_EQ(copy.array().size(), 2u);
    EXPECT_EQ(array, Variant(VariantArray{Variant("a"), Variant(std::int32_t{1})}));
    EXPECT_FALSE(array == Variant(VariantArray{Variant("b"), Variant(std::int32_t{1})}));
    EXPECT_FALSE(array == Variant(VariantArray{Variant("a")}));
    EXPECT_FALSE(array == Variant("a"));
}

}  // namespace
