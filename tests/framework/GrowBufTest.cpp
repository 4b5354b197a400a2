#include "framework/GrowBuf.h"
#include "framework/PtrList.h"
#include "framework/StateChunk.h"
#include "framework/TextBuf.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(GrowBuf, AllocationFollowsGranularityPolicy)
{
    GrowBuf small(16);
    ASSERT_TRUE(small.Resize(10));
    EXPECT_EQ(small.Allocated(), 10 + 16);  // extra = max(10 / 2, 16)
    ASSERT_TRUE(small.Resize(100));
    EXPECT_EQ(small.Allocated(), 150);

    GrowBuf paged(4096);
    ASSERT_TRUE(paged.Resize(100));
    EXPECT_EQ(paged.Allocated(), 4096 - 96);
    ASSERT_TRUE(paged.Resize(5000));
    EXPECT_EQ(paged.Allocated(), 8192 - 96);
    ASSERT_TRUE(paged.Resize(20000000));
    // The extra is clamped to 4 MiB.
    EXPECT_EQ(paged.Allocated(), (20000000 + (4 << 20) + 96) / 4096 * 4096 - 96);
}

TEST(GrowBuf, ShrinksOnlyWellBelowAllocation)
{
    GrowBuf buf(16);
    ASSERT_TRUE(buf.Resize(1000));
    const int32_t allocated = buf.Allocated();
    ASSERT_TRUE(buf.Resize(900));
    EXPECT_EQ(buf.Allocated(), allocated);
    ASSERT_TRUE(buf.Resize(100, false));
    EXPECT_EQ(buf.Allocated(), allocated);
    ASSERT_TRUE(buf.Resize(50));
    EXPECT_LT(buf.Allocated(), allocated);
    EXPECT_EQ(buf.Size(), 50);
}

TEST(GrowBuf, EmptyAndNegativeSizes)
{
    GrowBuf buf;
    EXPECT_EQ(buf.Data(), nullptr);
    ASSERT_TRUE(buf.Resize(-5));
    EXPECT_EQ(buf.Size(), 0);
    ASSERT_TRUE(buf.Resize(8));
    EXPECT_NE(buf.Data(), nullptr);
    ASSERT_TRUE(buf.Resize(0, false));
    EXPECT_EQ(buf.Data(), nullptr);
    EXPECT_GT(buf.Allocated(), 0);
    ASSERT_TRUE(buf.Resize(0));
    EXPECT_EQ(buf.Allocated(), 0);
}

TEST(GrowBuf, AppendFromItsOwnContents)
{
    GrowBuf buf;
    ASSERT_TRUE(buf.Append("abcd", 4));
    for (int i = 0; i < 10; ++i)
        ASSERT_TRUE(buf.Append(buf.Data(), buf.Size()));
    ASSERT_EQ(buf.Size(), 4 << 10);
    const auto* bytes = static_cast<const char*>(buf.Data());
    for (int i = 0; i < buf.Size(); ++i)
        ASSERT_EQ(bytes[i], "abcd"[i % 4]);
}

TEST(GrowBuf, RefusesSizesBeyondInt32)
{
    GrowBuf buf(4096);
    ASSERT_TRUE(buf.Append("x", 1));
    EXPECT_FALSE(buf.Resize(0x7FFFFFFF));
    EXPECT_EQ(buf.Size(), 1);
    EXPECT_EQ(*static_cast<const char*>(buf.Data()), 'x');
}

TEST(PtrList, InsertRemoveAndOwnership)
{
    int a = 1, b = 2, c = 3;
    PtrList<int> list;
    list.Append(&a);
    list.Append(&c);
    list.Insert(1, &b);
    list.Insert(-7, &c);
    ASSERT_EQ(list.Count(), 4);
    EXPECT_EQ(list.Get(0), &c);
    EXPECT_EQ(list.Get(2), &b);
    EXPECT_EQ(list.Get(4), nullptr);
    EXPECT_EQ(list.Get(-1), nullptr);
    EXPECT_EQ(list.Remove(0), &c);
    EXPECT_EQ(list.Get(0), &a);
    EXPECT_EQ(list.Remove(9), nullptr);

    static int destroyed = 0;
    struct Counted {
        ~Counted() { ++destroyed; }
    };
    {
        OwnedPtrList<Counted> owned;
        owned.Append(new Counted);
        owned.Append(new Counted);
        owned.Delete(0);
        EXPECT_EQ(destroyed, 1);
    }
    EXPECT_EQ(destroyed, 2);
}

TEST(TextBuf, SetsFromItselfAndCuts)
{
    TextBuf text("Split Freq");
    EXPECT_STREQ(text.Get(), "Split Freq");
    text.Set(text.Get() + 6);
    EXPECT_STREQ(text.Get(), "Freq");
    text.Set("Damping", 4);
    EXPECT_STREQ(text.Get(), "Damp");
    text.Set(nullptr);
    EXPECT_STREQ(text.Get(), "");
}

TEST(StateChunk, NumbersAndTextsRoundTrip)
{
    StateChunk chunk;
    chunk.PutDouble(-2.5);
    chunk.PutText("Solfeggio");
    chunk.PutInt32(7);
    EXPECT_EQ(chunk.Size(), 8 + 4 + 9 + 4);

    double d = 0;
    int32_t pos = chunk.GetDouble(d, 0);
    EXPECT_EQ(d, -2.5);
    char text[16];
    pos = chunk.GetText(text, sizeof text, pos);
    EXPECT_STREQ(text, "Solfeggio");
    int32_t i = 0;
    pos = chunk.GetInt32(i, pos);
    EXPECT_EQ(i, 7);
    EXPECT_EQ(pos, chunk.Size());
    EXPECT_EQ(chunk.GetInt32(i, pos), -1);
    EXPECT_EQ(chunk.GetDouble(d, -1), -1);
}

TEST(StateChunk, HostileTextLengthsStayInBounds)
{
    char text[8];
    for (int32_t length : {-1, -100000, 0x7FFFFFFF, 1000, 5}) {
        StateChunk chunk;
        chunk.PutInt32(length);
        chunk.PutBytes("abc", 3);
        const int32_t pos = chunk.GetText(text, sizeof text, 0);
        EXPECT_EQ(pos, -1) << length;
        EXPECT_STREQ(text, "") << length;
    }
    StateChunk chunk;
    chunk.PutText("a rather long preset name");
    EXPECT_EQ(chunk.GetText(text, sizeof text, 0), chunk.Size());
    EXPECT_STREQ(text, "a rathe");
}
