// Sample writer of the DiSP/Mistras message stream.

#include "datafiles/ByteOrder.h"
#include "samplegen/SampleGen.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>
#include <vector>

namespace lm::gen {

namespace {

// Collects messages in a large buffer and hands it to the stream in big writes.
class MessageBuffer {
public:
    explicit MessageBuffer(BinaryFile& out) : out_(out) { buf_.reserve(kFlushAt + 70000); }
    ~MessageBuffer() = default;

    // Starts a message with the given body length; answers where its body goes.
    uint8_t* Begin(size_t length)
    {
        const size_t at = buf_.size();
        buf_.resize(at + 2 + length);
        write_u16le(buf_.data() + at, uint16_t(length));
        return buf_.data() + at + 2;
    }
    void End()
    {
        if (buf_.size() >= kFlushAt)
            Flush();
    }
    void Flush()
    {
        if (!buf_.empty() && out_.Write(buf_.data(), buf_.size()) != buf_.size())
            throw std::runtime_error("cannot write the DiSP sample file");
        if (out_.Failed())
            throw std::runtime_error("cannot write the DiSP sample file");
        buf_.clear();
    }

private:
    static constexpr size_t kFlushAt = size_t(1) << 20;
    BinaryFile& out_;
    std::vector<uint8_t> buf_;
};

// Active data set of the sample: the usual features, the newer frequency values 23/24 and
// one parametric. Sizes follow the characteristic table.
constexpr uint8_t kActive[] = {1, 2, 3, 4, 5, 6, 7, 13, 23, 24};
constexpr size_t kHitBody = 8 + 2 + 2 + 2 + 2 + 4 + 1 + 1 + 2 + 2 + 2 + 3;

uint16_t Clamp16(double v)
{
    return uint16_t(std::clamp(v, 0.0, 65535.0));
}
uint8_t Clamp8(double v)
{
    return uint8_t(std::clamp(v, 0.0, 255.0));
}
// Parametric input: volts -> raw counts of 5 mV with 0 V at 2000.
uint16_t ParametricRaw(double volts)
{
    return Clamp16(std::round((volts + 10.0) / 0.005));
}

void TimedBody(uint8_t* body, uint8_t id, uint64_t ticks)
{
    body[0] = id;
    write_u48le(body + 1, ticks);
}

void TextMessage(MessageBuffer& buf, uint8_t id, size_t skip, std::string text)
{
    text.resize(std::min<size_t>(text.size(), 65535 - 1 - skip)); // a body holds at most 65535 bytes
    uint8_t* body = buf.Begin(1 + skip + text.size());
    body[0] = id;
    std::fill(body + 1, body + 1 + skip, uint8_t(0));
    std::copy(text.begin(), text.end(), body + 1 + skip);
    buf.End();
}

void WriteSetup(MessageBuffer& buf, int channels)
{
    // Sub-records: the active data set, then gain, threshold, HDT, HLT and PDT per channel.
    std::vector<uint8_t> subs;
    const auto sub = [&](std::initializer_list<uint8_t> bytes) {
        const size_t at = subs.size();
        subs.resize(at + 2);
        write_u16le(subs.data() + at, uint16_t(bytes.size()));
        subs.insert(subs.end(), bytes);
    };
    std::vector<uint8_t> active = {5, uint8_t(sizeof kActive)};
    active.insert(active.end(), std::begin(kActive), std::end(kActive));
    active.push_back(1); // one parametric
    {
        const size_t at = subs.size();
        subs.resize(at + 2);
        write_u16le(subs.data() + at, uint16_t(active.size()));
        subs.insert(subs.end(), active.begin(), active.end());
    }
    for (int c = 1; c <= channels; ++c) {
        const auto ch = uint8_t(c);
        sub({22, ch, 40});                                       // gain, dB
        sub({23, ch, 45});                                       // threshold, dB
        sub({24, ch, uint8_t(800 & 0xFF), uint8_t(800 >> 8)});   // HDT, us
        sub({25, ch, uint8_t(1000 & 0xFF), uint8_t(1000 >> 8)}); // HLT, us
        sub({26, ch, uint8_t(300 & 0xFF), uint8_t(300 >> 8)});   // PDT, us
    }
    uint8_t* body = buf.Begin(4 + subs.size());
    body[0] = 42;
    body[1] = body[2] = body[3] = 0;
    std::copy(subs.begin(), subs.end(), body + 4);
    buf.End();
}

} // namespace

void WriteDispSample(BinaryFile& out, const SampleOptions& options)
{
    MessageBuffer buf(out);
    // Identification first: recognition looks for id 41 and text from body byte 4 on.
    TextMessage(buf, 41, 3, "AELumeny synthetic DiSP sample");
    buf.Begin(1)[0] = 100; // Begin Setup
    buf.End();
    // The setup message is limited to 65535 bytes: at most ~2500 channels, far beyond 255.
    WriteSetup(buf, std::clamp(options.channels, 1, 255));
    buf.Begin(1)[0] = 101; // End of Setup
    buf.End();

    SampleEventStream stream(options);
    SampleEvent e;
    while (stream.Next(e)) {
        switch (e.kind) {
        case SampleEvent::Hit: {
            uint8_t* b = buf.Begin(kHitBody);
            TimedBody(b, 1, e.ticks);
            b[7] = uint8_t(e.channel);
            const double freq = e.duration ? double(e.counts) / e.duration * 1000.0 : 0.0;
            write_u16le(b + 8, Clamp16(e.rise));
            write_u16le(b + 10, Clamp16(e.countsToPeak));
            write_u16le(b + 12, Clamp16(e.counts));
            write_u16le(b + 14, Clamp16(e.energy));
            write_u32le(b + 16, e.duration);
            b[20] = Clamp8(e.amplitude);
            b[21] = Clamp8(e.rms);
            write_u16le(b + 22, Clamp16(freq));
            write_u16le(b + 24, Clamp16(freq * 1.4 + 20.0)); // frequency centroid
            write_u16le(b + 26, Clamp16(freq * 1.2 + 10.0)); // peak frequency
            b[28] = 1;                                       // parametric id
            write_u16le(b + 29, ParametricRaw(e.parametric));
            buf.End();
            break;
        }
        case SampleEvent::Parametric: {
            uint8_t* b = buf.Begin(10);
            TimedBody(b, 2, e.ticks);
            b[7] = 1;
            write_u16le(b + 8, ParametricRaw(e.parametric));
            buf.End();
            break;
        }
        case SampleEvent::Comment:
            TextMessage(buf, 7, 0, e.text);
            break;
        case SampleEvent::TimeMark:
            TimedBody(buf.Begin(7), 211, e.ticks);
            buf.End();
            break;
        case SampleEvent::Pause:
            TimedBody(buf.Begin(7), 130, e.ticks);
            buf.End();
            break;
        case SampleEvent::Resume:
            TimedBody(buf.Begin(7), 128, e.ticks);
            buf.End();
            break;
        case SampleEvent::Stop:
            TimedBody(buf.Begin(7), 129, e.ticks);
            buf.End();
            break;
        }
    }
    buf.Begin(1)[0] = 15; // Test Abort closes the recording
    buf.End();
    buf.Flush();
}

} // namespace lm::gen
