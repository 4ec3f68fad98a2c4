#include "nc/PassInParts.h"

#include "nc/ArrivingBytes.h"
#include "nc/ConversionPass.h"
#include "nc/LargeText.h"
#include "nc/ProgramText.h"

#include <algorithm>
#include <atomic>
#include <system_error>
#include <thread>
#include <vector>

namespace nc {
namespace {

// Encodes the result as it comes and hands it on, until a character cannot be written: from then on
// nothing more is written, as the converter stops there.
class ResultWriter
{
public:
    explicit ResultWriter(ByteSink sink) : m_sink(std::move(sink)) {}

    void Take(QStringView text)
    {
        if (m_unwritable >= 0)
            return;
        const qsizetype bad = WriteCp932(text, m_sink);
        if (bad >= 0)
            m_unwritable = text[bad].unicode();
    }

    void TakeEncoded(QByteArrayView bytes) { m_sink(bytes); }
    void SetUnwritable(int c) { m_unwritable = c; }
    int Unwritable() const { return m_unwritable; }

private:
    ByteSink m_sink;
    int m_unwritable = -1;
};

// Feeds the pieces from `from` to each of `ends` in turn, taking the result after each, until the pass
// fails or the result cannot be written.
void FeedPieces(ConversionPass &pass, QByteArrayView bytes, qsizetype from, const qsizetype *ends,
                const qsizetype *endsEnd, ResultWriter &writer, const std::atomic<bool> *abandon = nullptr)
{
    const auto take = [&writer](QStringView text) { writer.Take(text); };
    for (const qsizetype *end = ends; end != endsEnd; ++end) {
        if (writer.Unwritable() >= 0 || pass.Failed() ||
            (abandon && abandon->load(std::memory_order_relaxed)))
            return;
        pass.FeedCp932(bytes.sliced(from, *end - from));
        pass.TakeResult(take);
        from = *end;
    }
}

// As the conversion does at the end of the program: the last line without a CR LF, then Finish.
void EndProgram(ConversionPass &pass, ResultWriter &writer)
{
    if (writer.Unwritable() >= 0)
        return;
    pass.End();
    pass.TakeResult([&writer](QStringView text) { writer.Take(text); });
}

// The first line start at or after `at` (and at or before `limit`, itself a line start).
qsizetype LineStartFrom(QByteArrayView bytes, qsizetype at, qsizetype limit)
{
    for (; at < limit; ++at)
        if (at == 0 || (at >= 2 && bytes[at - 2] == '\r' && bytes[at - 1] == '\n'))
            return at;
    return limit;
}

// A part of the program converted ahead: its pieces, its pass, the state that pass was in at the part's
// first line, and the result in code page 932.
struct Part
{
    qsizetype warmFrom = 0;
    qsizetype from = 0;
    std::size_t firstPiece = 0;
    std::size_t endPiece = 0;
    bool last = false;
    std::unique_ptr<ConversionPass> pass;
    bool started = false;
    CarriedState start;
    QByteArray output;
    int unwritable = -1;
    std::thread worker;
};

void ConvertAhead(Part &part, QByteArrayView bytes, const std::vector<qsizetype> &ends, qsizetype pieceSize,
                  const std::atomic<bool> &abandon)
{
    ConversionPass &pass = *part.pass;
    pass.Start(pieceSize);
    if (part.warmFrom < part.from) {
        pass.FeedCp932(bytes.sliced(part.warmFrom, part.from - part.warmFrom));
        pass.TakeResult([](QStringView) {});
    }
    if (pass.Failed() || !pass.WriteCarriedState(part.start))
        return;
    part.started = true;
    const qsizetype partSize = ends[part.endPiece - 1] - part.from;
    part.output.reserve(partSize + partSize / 4 + 16);
    // the part's whole result is written into new memory: large pages take far fewer faults to fill
    AdviseLargeBuffer(part.output.data(), part.output.capacity());
    ResultWriter writer([&part](QByteArrayView encoded) { part.output.append(encoded); });
    FeedPieces(pass, bytes, part.from, ends.data() + part.firstPiece, ends.data() + part.endPiece, writer,
               &abandon);
    if (part.last && !abandon.load())
        EndProgram(pass, writer);
    part.unwritable = writer.Unwritable();
}

int PartCount(const PassPartsPlan &plan, std::size_t pieces)
{
    int parts = plan.parts;
    if (parts <= 0)
        parts = int(std::clamp(std::thread::hardware_concurrency(), 1u, 8u));
    return int(std::min<std::size_t>(std::size_t(parts), pieces));
}

} // namespace

bool IsCleanCp932InParts(QByteArrayView bytes, const PassPartsPlan &plan)
{
    const std::vector<qsizetype> ends = PieceEnds(bytes, plan.pieceSize);
    const int count = PartCount(plan, ends.size());
    std::vector<char> clean(std::size_t(count), 0);
    std::vector<std::thread> workers;
    const auto check = [&](int k) {
        const qsizetype from = k == 0 ? 0 : ends[ends.size() * std::size_t(k) / std::size_t(count) - 1];
        const qsizetype to = ends[ends.size() * std::size_t(k + 1) / std::size_t(count) - 1];
        clean[std::size_t(k)] = IsCleanCp932(bytes.sliced(from, to - from));
    };
    for (int k = 1; k < count; ++k) {
        try {
            workers.emplace_back(check, k);
        } catch (const std::system_error &) {
            check(k); // no thread to spare: checked here
        }
    }
    if (count > 0)
        check(0);
    for (std::thread &worker : workers)
        worker.join();
    return std::all_of(clean.begin(), clean.end(), [](char c) { return c != 0; });
}

namespace {

// Converts the program from `from`, a piece end where `current` stands, to its end, handing the result to
// `writer`: the parts after the first are converted ahead on other threads when the pass can list its
// carried state.
void ConvertRestInParts(const PassMaker &makePass, std::unique_ptr<ConversionPass> &current,
                        QByteArrayView bytes, qsizetype from, ResultWriter &writer, const PassPartsPlan &plan,
                        PassPartsOutcome &outcome)
{
    std::vector<qsizetype> ends = PieceEnds(bytes.sliced(from), plan.pieceSize);
    for (qsizetype &end : ends)
        end += from;
    CarriedState probe;
    const bool stopped = current->Failed() || writer.Unwritable() >= 0;
    const int partCount = !stopped && current->WriteCarriedState(probe) ? PartCount(plan, ends.size()) : 1;

    // Part 0 is the running conversion itself; the others are cut at piece ends.
    std::vector<Part> parts(std::size_t(std::max(partCount, 1)));
    for (std::size_t k = 1; k < parts.size(); ++k) {
        Part &part = parts[k];
        part.firstPiece = ends.size() * k / parts.size();
        part.endPiece = ends.size() * (k + 1) / parts.size();
        part.from = ends[part.firstPiece - 1];
        part.last = k + 1 == parts.size();
        part.warmFrom = LineStartFrom(bytes, std::max(qsizetype(0), part.from - plan.lookback), part.from);
        part.pass = makePass();
    }
    parts[0].endPiece = parts.size() > 1 ? parts[1].firstPiece : ends.size();

    std::atomic<bool> abandon{false};
    for (std::size_t k = 1; k < parts.size(); ++k) {
        Part &part = parts[k];
        // Without a thread the part is simply converted in line when its turn comes.
        try {
            part.worker = std::thread(ConvertAhead, std::ref(part), bytes, std::cref(ends), plan.pieceSize,
                                      std::cref(abandon));
            ++outcome.partsAhead;
        } catch (const std::system_error &) {
            break;
        }
    }

    FeedPieces(*current, bytes, from, ends.data(), ends.data() + parts[0].endPiece, writer);
    bool ended = false;
    for (std::size_t k = 1; k < parts.size(); ++k) {
        Part &part = parts[k];
        if (current->Failed() || writer.Unwritable() >= 0) {
            abandon = true;
            break;
        }
        if (part.worker.joinable())
            part.worker.join();
        CarriedState reached;
        current->WriteCarriedState(reached);
        if (part.started && part.start == reached) {
            writer.TakeEncoded(part.output);
            part.output = QByteArray();
            writer.SetUnwritable(part.unwritable);
            current = std::move(part.pass);
            ended = part.last;
            ++outcome.partsKept;
        } else {
            FeedPieces(*current, bytes, part.from, ends.data() + part.firstPiece, ends.data() + part.endPiece,
                       writer);
        }
    }
    for (Part &part : parts)
        if (part.worker.joinable())
            part.worker.join();
    if (!ended)
        EndProgram(*current, writer);

    outcome.failed = current->Failed();
    outcome.failureMessage = current->FailureMessage();
    outcome.unwritable = writer.Unwritable();
}

} // namespace

PassPartsOutcome RunPassInParts(const PassMaker &makePass, QByteArrayView bytes, const ByteSink &write,
                                const PassPartsPlan &plan)
{
    PassPartsOutcome outcome;
    std::unique_ptr<ConversionPass> current = makePass();
    ResultWriter writer(write);
    current->Start(plan.pieceSize);
    ConvertRestInParts(makePass, current, bytes, 0, writer, plan, outcome);
    return outcome;
}

PassPartsOutcome RunPassOnArrivingBytes(const PassMaker &makePass, ArrivingBytes &arriving,
                                        const ByteSink &write, const PassPartsPlan &plan)
{
    PassPartsOutcome outcome;
    // Nothing is written before every byte has come and proved clean: the result so far is held.
    // Its room, for a hundred pieces or so, is taken at once and in large pages, which spares copying it as
    // it grows and a fault for every small page.
    QByteArray held;
    held.reserve(std::min(qsizetype(1) << 24, plan.pieceSize * 128));
    AdviseLargeBuffer(held.data(), held.capacity());
    bool holding = true;
    ResultWriter writer([&](QByteArrayView piece) {
        if (holding)
            held.append(piece);
        else
            write(piece);
    });
    std::unique_ptr<ConversionPass> current = makePass();
    current->Start(plan.pieceSize);
    // One piece at a time, in line, as the bytes come; once all have come the rest is converted in parts.
    qsizetype from = 0;
    Arrived seen;
    for (;;) {
        const qsizetype end = ArrivingPieceEnd(arriving, from, plan.pieceSize, seen);
        if (seen.broken) {
            outcome.notConverted = true;
            return outcome;
        }
        if (seen.all)
            break;
        const QByteArrayView piece = seen.bytes.sliced(from, end - from);
        if (!IsCleanCp932(piece)) {
            outcome.notConverted = true;
            return outcome;
        }
        FeedPieces(*current, seen.bytes, from, &end, &end + 1, writer);
        from = end;
    }
    const QByteArrayView bytes = seen.bytes;
    if (!IsCleanCp932InParts(bytes.sliced(from), plan)) {
        outcome.notConverted = true;
        return outcome;
    }
    holding = false;
    if (!held.isEmpty())
        write(held);
    held = QByteArray();
    ConvertRestInParts(makePass, current, bytes, from, writer, plan, outcome);
    return outcome;
}

} // namespace nc
