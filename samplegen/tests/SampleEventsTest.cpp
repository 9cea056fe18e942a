#include "samplegen/SampleEvents.h"

#include <gtest/gtest.h>

using lm::gen::SampleEvent;
using lm::gen::SampleEventStream;
using lm::gen::SampleOptions;

namespace {

struct Summary {
    uint64_t hits = 0;
    int pauses = 0, resumes = 0, stops = 0, parametrics = 0, marks = 0;
    bool ordered = true;
    bool channelsInRange = true;
};

Summary Walk(const SampleOptions& options)
{
    SampleEventStream stream(options);
    SampleEvent e;
    Summary s;
    uint64_t last = 0;
    while (stream.Next(e)) {
        if (e.ticks < last)
            s.ordered = false;
        last = e.ticks;
        switch (e.kind) {
        case SampleEvent::Hit:
            ++s.hits;
            if (e.channel < 1 || e.channel > options.channels)
                s.channelsInRange = false;
            break;
        case SampleEvent::Pause:
            ++s.pauses;
            break;
        case SampleEvent::Resume:
            ++s.resumes;
            break;
        case SampleEvent::Stop:
            ++s.stops;
            break;
        case SampleEvent::Parametric:
            ++s.parametrics;
            break;
        case SampleEvent::TimeMark:
            ++s.marks;
            break;
        default:
            break;
        }
    }
    return s;
}

} // namespace

// Event-mode filters and the event view refuse files that go back in time, so every
// generated session must be in time order, whatever its size and seed.
TEST(SampleEventStream, SessionsAreInTimeOrderWithOnePauseAndAStop)
{
    const SampleOptions cases[] = {{20, 4, 1}, {21, 3, 7}, {1000, 8, 2}, {300000, 16, 3}, {300000, 1, 4}};
    for (const auto& options : cases) {
        SCOPED_TRACE(testing::Message() << options.hits << " hits, seed " << options.seed);
        const Summary s = Walk(options);
        EXPECT_EQ(s.hits, options.hits);
        EXPECT_TRUE(s.ordered);
        EXPECT_TRUE(s.channelsInRange);
        EXPECT_EQ(s.pauses, 1);
        EXPECT_EQ(s.resumes, 1);
        EXPECT_EQ(s.stops, 1);
    }
    const Summary big = Walk({300000, 16, 3});
    EXPECT_GT(big.parametrics, 100);
    EXPECT_GT(big.marks, 3);
}

TEST(SampleEventStream, SameSeedSameSession)
{
    SampleEventStream a({5000, 6, 11}), b({5000, 6, 11});
    SampleEvent ea, eb;
    while (a.Next(ea)) {
        ASSERT_TRUE(b.Next(eb));
        ASSERT_EQ(ea.ticks, eb.ticks);
        ASSERT_EQ(ea.kind, eb.kind);
        ASSERT_EQ(ea.channel, eb.channel);
        ASSERT_EQ(ea.amplitude, eb.amplitude);
    }
    EXPECT_FALSE(b.Next(eb));
}
