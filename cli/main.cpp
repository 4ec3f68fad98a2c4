#include "cli/CliCommand.h"
#include "cli/PipeInput.h"
#include "nc/ConversionPass.h"
#include "nc/LargeText.h"
#include "nc/PassInParts.h"
#include "nc/ProgramText.h"

#include <QCoreApplication>
#include <QFile>
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <limits>
#if defined(__GLIBC__)
#include <malloc.h>
#endif
#include <memory>
#include <semaphore>
#include <sys/mman.h>
#include <sys/stat.h>
#include <system_error>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

void WriteError(const QString &message)
{
    if (message.isEmpty())
        return;
    const QByteArray bytes = message.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, bytes.size(), stderr);
    if (!message.endsWith(u'\n'))
        std::fputc('\n', stderr);
}

QString UsageText()
{
    QString text =
        QStringLiteral("usage: brindlewick-convert CONVERSION [OPTIONS] [INPUT]\n\nconversions:\n");
    for (const CliCommand &command : CliCommands())
        text += QStringLiteral("  %1 %2\n").arg(command.name, command.usage);
    text += QStringLiteral(
        "\nInput is read from INPUT or standard input, the result written to standard output, "
        "both in code page 932.\n\nexit status:\n"
        "  0 the result was written\n"
        "  1 the conversion stopped with a failure (the lines so far on standard output), or machine "
        "--strict wrote lines to check\n"
        "  2 a usage error\n"
        "  3 the table file cannot be read\n\n"
        "brindlewick-convert --version shows the version.");
    return text;
}

int UsageError(const QString &message)
{
    WriteError(message);
    WriteError(UsageText());
    return 2;
}

const CliCommand *FindCommand(const QString &name)
{
    for (const CliCommand &command : CliCommands())
        if (command.name == name)
            return &command;
    return nullptr;
}

// Parses "--name value" and "--flag" options and at most one input file name.
bool ParseOptions(const CliCommand &command, const QStringList &args, CliOptions &options, QString &input,
                  QString &error)
{
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &arg = args[i];
        if (arg.startsWith(u"--")) {
            const QString name = arg.mid(2);
            if (command.flagOptions.contains(name)) {
                options.flags.insert(name);
            } else if (command.valueOptions.contains(name)) {
                if (i + 1 >= args.size()) {
                    error = QStringLiteral("option --%1 needs a value").arg(name);
                    return false;
                }
                options.values.insert(name, args[++i]);
            } else {
                error = QStringLiteral("unknown option %1 for %2").arg(arg, command.name);
                return false;
            }
        } else if (input.isEmpty() && arg != u"-") {
            input = arg;
        } else if (arg != u"-") {
            error = QStringLiteral("more than one input file: %1").arg(arg);
            return false;
        }
    }
    return true;
}

// The program's bytes. A file is mapped into memory, which spares copying them, and so is a file behind
// standard input ("< program.nc"); a pipe is read on a thread of its own into one room, and the conversions
// that can start on the bytes that have come (Arriving). What cannot be mapped is read whole.
class ProgramBytes
{
public:
    ProgramBytes() = default;
    ProgramBytes(const ProgramBytes &) = delete;
    ProgramBytes &operator=(const ProgramBytes &) = delete;
    ~ProgramBytes() { Release(); }

    bool Open(const QString &path, QString &error)
    {
        if (path.isEmpty())
            return OpenStandardInput(error);
        m_file.setFileName(path);
        if (!m_file.open(QIODevice::ReadOnly)) {
            error = QStringLiteral("cannot read %1: %2").arg(path, m_file.errorString());
            return false;
        }
        const qint64 size = m_file.size();
        uchar *mapped = size == 0 ? nullptr : m_file.map(0, size);
        if (mapped) {
            m_fileMapping = mapped;
            SetMapped(reinterpret_cast<const char *>(mapped), size);
            return true;
        }
        m_read = m_file.readAll();
        if (m_file.error() != QFileDevice::NoError) {
            error = QStringLiteral("cannot read %1: %2").arg(path, m_file.errorString());
            return false;
        }
        return true;
    }

    // A pipe's bytes, while they are still coming; nullptr for a file and for bytes read whole.
    nc::ArrivingBytes *Arriving() { return m_pipe.get(); }

    // Waits for the end of a pipe; false with the reason when reading broke off. A pipe longer than the
    // room is read on into one buffer.
    bool Complete(QString &error)
    {
        if (!m_pipe)
            return true;
        if (!m_pipe->Finish(error))
            return false;
        if (!m_pipe->OutOfRoom())
            return true;
        m_read = m_pipe->Await(0).bytes.toByteArray();
        m_pipe.reset();
        if (ReadStandardInput())
            return true;
        error = StandardInputError(errno);
        return false;
    }

    // The whole program; for a pipe only once it has come whole (Complete).
    QByteArrayView View()
    {
        if (m_pipe)
            return m_pipe->Await(std::numeric_limits<qsizetype>::max()).bytes;
        return m_data ? QByteArrayView(m_data, m_size) : QByteArrayView(m_read);
    }

    void Release()
    {
        if (m_fileMapping)
            m_file.unmap(m_fileMapping);
        m_fileMapping = nullptr;
        if (m_inputMapping)
            munmap(m_inputMapping, m_inputMappingSize);
        m_inputMapping = nullptr;
        m_data = nullptr;
        m_read = QByteArray();
        m_pipe.reset();
    }

private:
    bool OpenStandardInput(QString &error)
    {
        struct stat status
        {
        };
        const bool file = fstat(STDIN_FILENO, &status) == 0 && S_ISREG(status.st_mode);
        if (file && MapStandardInput(status.st_size))
            return true;
        if (!file) {
            m_pipe = std::make_unique<PipeInput>();
            if (m_pipe->Start(STDIN_FILENO, error))
                return true;
            m_pipe.reset();
            if (!error.isEmpty())
                return false;
        }
        if (ReadStandardInput())
            return true;
        error = StandardInputError(errno);
        return false;
    }

    // A file behind standard input is read from where its offset stands, as a reading program would.
    bool MapStandardInput(off_t fileSize)
    {
        const off_t offset = lseek(STDIN_FILENO, 0, SEEK_CUR);
        if (offset < 0 || offset >= fileSize)
            return offset >= 0 && offset == fileSize; // nothing left: the empty program
        const off_t page = off_t(sysconf(_SC_PAGESIZE));
        const off_t start = offset - offset % page;
        const size_t length = size_t(fileSize - start);
        void *mapped = mmap(nullptr, length, PROT_READ, MAP_PRIVATE, STDIN_FILENO, start);
        if (mapped == MAP_FAILED)
            return false;
        m_inputMapping = mapped;
        m_inputMappingSize = length;
        SetMapped(static_cast<const char *>(mapped) + (offset - start), fileSize - offset);
        return true;
    }

    // Reads standard input to its end, after the bytes read so far, in blocks of at least a megabyte,
    // straight into the buffer; a larger pipe lets the writer hand over more at a time.
    bool ReadStandardInput()
    {
        constexpr qsizetype FirstRoom = qsizetype(1) << 20;
#ifdef F_SETPIPE_SZ
        (void)fcntl(STDIN_FILENO, F_SETPIPE_SZ, int(FirstRoom));
#endif
        QByteArray buffer = std::move(m_read);
        qsizetype used = buffer.size();
        for (;;) {
            if (buffer.size() - used < FirstRoom) {
                buffer.resize(std::max(FirstRoom * 4, buffer.size() * 2));
                PrefaultForWriting(buffer.data() + used, buffer.size() - used);
            }
            const ssize_t got = read(STDIN_FILENO, buffer.data() + used, size_t(buffer.size() - used));
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0)
                return false;
            if (got == 0)
                break;
            used += got;
        }
        buffer.truncate(used);
        m_read = std::move(buffer);
        return true;
    }

    // The room is written once: taking its pages in one call costs far less than a fault per page.
    static void PrefaultForWriting(char *from, qsizetype size)
    {
#ifdef MADV_POPULATE_WRITE
        const uintptr_t page = uintptr_t(sysconf(_SC_PAGESIZE));
        const uintptr_t start = (reinterpret_cast<uintptr_t>(from) + page - 1) / page * page;
        const uintptr_t end = (reinterpret_cast<uintptr_t>(from) + uintptr_t(size)) / page * page;
        if (end > start)
            (void)madvise(reinterpret_cast<void *>(start), size_t(end - start), MADV_POPULATE_WRITE);
#else
        (void)from;
        (void)size;
#endif
    }

    void SetMapped(const char *data, qint64 size)
    {
        m_data = data;
        m_size = size;
        PrefaultMapping();
    }

    // Every byte is read: mapping the pages in one call costs far less than a fault per page.
    void PrefaultMapping()
    {
#ifdef MADV_POPULATE_READ
        const uintptr_t page = uintptr_t(sysconf(_SC_PAGESIZE));
        const uintptr_t start = reinterpret_cast<uintptr_t>(m_data) / page * page;
        (void)madvise(reinterpret_cast<void *>(start),
                      size_t(reinterpret_cast<uintptr_t>(m_data) + m_size - start), MADV_POPULATE_READ);
#endif
    }

    QFile m_file;
    uchar *m_fileMapping = nullptr;
    void *m_inputMapping = nullptr;
    size_t m_inputMappingSize = 0;
    const char *m_data = nullptr;
    qint64 m_size = 0;
    QByteArray m_read;
    std::unique_ptr<PipeInput> m_pipe;
};

// Where the result cannot be encoded: its line and character, and the likely cause.
QString UnencodableResult(const QString &output, qsizetype index, bool inputHadInvalidBytes)
{
    const qsizetype line = 1 + QStringView(output).left(index).count(u"\r\n");
    QString message =
        QStringLiteral("line %1 of the result holds U+%2, which code page 932 cannot write")
            .arg(line)
            .arg(QString::number(output.at(index).unicode(), 16).toUpper().rightJustified(4, u'0'));
    if (inputHadInvalidBytes)
        message += QStringLiteral(" (the input holds bytes that are no code page 932 character)");
    return message;
}

// Writes the result in pieces. A full disk or a file size limit may stop the output part way: that is a
// failure, never a success.
class OutputWriter
{
public:
    void Write(QByteArrayView bytes)
    {
        if (m_failed || bytes.isEmpty()) // an empty piece may have no bytes at all to point at
            return;
        if (std::fwrite(bytes.data(), 1, size_t(bytes.size()), stdout) != size_t(bytes.size()))
            Failed();
    }

    bool Finish()
    {
        if (!m_failed && (std::fflush(stdout) != 0 || std::ferror(stdout)))
            Failed();
        return !m_failed;
    }

private:
    void Failed()
    {
        m_failed = true;
        WriteError(QStringLiteral("cannot write the result to standard output: %1")
                       .arg(QString::fromLocal8Bit(std::strerror(errno))));
    }

    bool m_failed = false;
};

// A run that ended well reports the lines its passes wrote for the user to look at, if its conversion
// counts them, and may end with another exit code for them.
int WithLinesToCheck(const CliCommand &command, const CliOptions &options, int exitCode)
{
    if (exitCode != 0 || !command.linesToCheckNote)
        return exitCode;
    QString note;
    exitCode = command.linesToCheckNote(options, note);
    WriteError(note);
    return exitCode;
}

// Small enough that a piece's texts stay in the caches and that a pipe's first pieces are converted while
// the rest is still coming; a piece costs little more to start than a line.
constexpr qsizetype WholePieceSize = qsizetype(1) << 17;

// Decodes a pipe's bytes a piece at a time as they come, each piece cut just after a CR LF, so that the
// text is the one the bytes decoded whole give; false when reading broke off.
bool DecodeAsTheyCome(nc::ArrivingBytes &arriving, nc::DecodedText &decoded)
{
    qsizetype from = 0;
    nc::Arrived seen;
    do {
        const qsizetype end = nc::ArrivingPieceEnd(arriving, from, WholePieceSize, seen);
        if (seen.broken)
            return false;
        const QByteArrayView piece = seen.bytes.sliced(from, end - from);
        // The room grows to twice what has come (16 M characters at least: room not written costs
        // nothing), or to the most the rest can give once all has come, at once in large pages, a fault per
        // small page costing more than decoding it: the text so far is copied into new room advised before
        // it is written.
        if (decoded.text.capacity() - decoded.text.size() < piece.size()) {
            const qsizetype room =
                seen.all ? decoded.text.size() + seen.bytes.size() - from
                         : std::max({decoded.text.capacity() * 2, seen.bytes.size() * 2, qsizetype(1) << 24});
            QString larger;
            nc::ReserveLargeText(larger, room);
            larger.append(decoded.text);
            decoded.text = std::move(larger);
        }
        decoded.hadInvalidBytes |= nc::AppendCp932(piece, decoded.text);
        from = end;
    } while (!seen.all || from < seen.bytes.size());
    return true;
}

// The program decoded: a pipe's bytes as they come; false with the reason when they cannot be read.
bool DecodeProgram(ProgramBytes &bytes, nc::DecodedText &decoded, QString &error)
{
    if (nc::ArrivingBytes *arriving = bytes.Arriving()) {
        if (DecodeAsTheyCome(*arriving, decoded))
            return true;
        decoded = nc::DecodedText();
        if (!bytes.Complete(error))
            return false;
    }
    decoded = nc::DecodeCp932(bytes.View());
    return true;
}

// The whole program decoded, converted and written; its bytes are given up as soon as they are decoded.
int RunWhole(const CliCommand &command, const CliOptions &options, ProgramBytes &bytes)
{
    nc::DecodedText decoded;
    QString error;
    if (!DecodeProgram(bytes, decoded, error)) {
        WriteError(error);
        return 2;
    }
    bytes.Release();
    QString program = std::move(decoded.text);
    const CliOutcome outcome = command.run(options, program);
    program = QString();
    if (outcome.exitCode == 2)
        return UsageError(outcome.error);

    OutputWriter writer;
    const qsizetype badIndex =
        nc::WriteCp932(outcome.output, [&writer](QByteArrayView piece) { writer.Write(piece); });
    if (!writer.Finish())
        return 1;
    if (badIndex >= 0) {
        WriteError(UnencodableResult(outcome.output, badIndex, decoded.hadInvalidBytes));
        return 1;
    }
    WriteError(outcome.error);
    return WithLinesToCheck(command, options, outcome.exitCode);
}

QString UnwritableCharacter(int c)
{
    return QStringLiteral("the result holds U+%1, which code page 932 cannot write")
        .arg(QString::number(c, 16).toUpper().rightJustified(4, u'0'));
}

// What one piece of the program gave: the conversion's outcome, and its result in code page 932.
struct PieceResult
{
    QString text;       // the piece decoded; kept from piece to piece for its room
    CliOutcome outcome; // its output is dropped once encoded
    bool encoded = false;
    QByteArray bytes;    // the output encoded; empty when a character could not be
    int unwritable = -1; // the output's first character code page 932 cannot hold
};

// Converts one piece; on another thread than the writer's the output is encoded there too.
void ConvertPiece(const CliCommand &command, const CliOptions &options, QByteArrayView piece,
                  PieceResult &result, bool encode)
{
    result.text.resize(0);
    nc::AppendCp932(piece, result.text);
    result.outcome = command.run(options, result.text);
    result.encoded = false;
    if (!encode || result.outcome.exitCode != 0)
        return;
    result.bytes.resize(0);
    const qsizetype bad = nc::WriteCp932(result.outcome.output,
                                         [&result](QByteArrayView written) { result.bytes.append(written); });
    result.unwritable = bad >= 0 ? result.outcome.output[bad].unicode() : -1;
    if (bad >= 0)
        result.bytes.resize(0);
    result.outcome.output = QString();
    result.encoded = true;
}

// Writes a piece's result unless a character cannot be written: that character is returned then, and
// nothing of the piece is written.
int WritePiece(PieceResult &piece, OutputWriter &writer)
{
    if (piece.encoded) {
        if (piece.unwritable < 0)
            writer.Write(piece.bytes);
        return piece.unwritable;
    }
    const qsizetype bad =
        nc::WriteCp932(piece.outcome.output, [&writer](QByteArrayView written) { writer.Write(written); });
    return bad >= 0 ? piece.outcome.output[bad].unicode() : -1;
}

// A thread converting every n-th piece of the program into its own result, which the writer takes before
// the next piece is converted into it.
struct PieceWorker
{
    PieceResult result;
    // counting, so that the writer may let every thread go at the end whatever each is doing
    std::counting_semaphore<> converted{0};
    std::counting_semaphore<> taken{1};
    std::thread thread;
};

// Lets every thread go and waits for them; a thread still converting stops before its next piece.
void StopWorkers(std::vector<PieceWorker> &workers, std::atomic<bool> &stop)
{
    stop = true;
    for (PieceWorker &worker : workers) {
        if (!worker.thread.joinable())
            continue;
        worker.taken.release();
        worker.thread.join();
    }
}

// A conversion of many pieces takes and gives back texts of a few hundred kilobytes for every piece, each
// larger than what the allocator keeps by default. Kept for the next piece rather than handed back to the
// system, their pages are not faulted in and cleared again each time, which cost as much as converting them.
void KeepFreedMemoryForReuse()
{
#if defined(__GLIBC__)
    (void)mallopt(M_MMAP_THRESHOLD, 32 << 20);
    (void)mallopt(M_TRIM_THRESHOLD, 256 << 20);
#endif
}

// Whether the program is more than one piece: a program of one piece, as a program with LF line ends is,
// is converted whole, which holds fewer copies of it.
bool HasSeveralPieces(QByteArrayView bytes)
{
    return nc::PieceEnd(bytes, 0, WholePieceSize) < bytes.size();
}

// Whether a CR LF ends a piece among the first few pieces' worth of a pipe's bytes: a program without, as
// one with LF line ends is, is converted whole, decoded as it comes. True when reading broke off, which the
// caller tells.
bool LinesEndEarly(nc::ArrivingBytes &arriving)
{
    constexpr qsizetype Early = 4 * WholePieceSize;
    const nc::Arrived seen = arriving.Await(Early);
    if (seen.broken)
        return true;
    const QByteArrayView early = seen.bytes.first(std::min(seen.bytes.size(), Early));
    return HasSeveralPieces(early);
}

// Runs `command` on the pieces of the program, each cut just after a CR LF, on every processor, and hands
// their results to `take` in the program's order until it returns false. This thread converts every n-th
// piece itself and other threads the rest; only one result per thread is held at a time, and each keeps
// its room from piece to piece.
void ConvertPiecesAtOnce(const CliCommand &command, const CliOptions &options, QByteArrayView bytes,
                         const std::function<bool(PieceResult &)> &take)
{
    KeepFreedMemoryForReuse();
    std::vector<QByteArrayView> pieces;
    qsizetype from = 0;
    for (const qsizetype end : nc::PieceEnds(bytes, WholePieceSize)) {
        pieces.push_back(bytes.sliced(from, end - from));
        from = end;
    }
    const std::size_t count = std::max<std::size_t>(
        1, std::min<std::size_t>(pieces.size(),
                                 std::size_t(std::clamp(std::thread::hardware_concurrency(), 1u, 8u))));
    std::vector<PieceWorker> workers(count);
    std::atomic<bool> stop{false};
    const auto work = [&](std::size_t first) {
        PieceWorker &worker = workers[first];
        for (std::size_t k = first; k < pieces.size(); k += count) {
            worker.taken.acquire();
            if (stop.load())
                return;
            ConvertPiece(command, options, pieces[k], worker.result, true);
            worker.converted.release();
        }
    };
    bool threaded = true;
    for (std::size_t w = 1; w < count && threaded; ++w) {
        try {
            workers[w].thread = std::thread(work, w);
        } catch (const std::system_error &) {
            threaded = false;
        }
    }
    if (!threaded)
        StopWorkers(workers, stop); // no thread to spare: every piece converted here, in turn
    for (std::size_t k = 0; k < pieces.size(); ++k) {
        PieceWorker &worker = workers[threaded ? k % count : 0];
        if (&worker == &workers[0])
            ConvertPiece(command, options, pieces[k], worker.result, false);
        else
            worker.converted.acquire();
        if (!take(worker.result))
            break;
        if (&worker != &workers[0])
            worker.taken.release();
    }
    StopWorkers(workers, stop);
}

// The same for a pipe's bytes as they come: each piece converted here as it comes, its result held, and
// once all have come the rest at once as above. The held results go to `take` only when every byte has
// come and proved clean code page 932: false otherwise, and for a program whose first pieces' worth holds
// no CR LF, nothing given to `take`.
bool ConvertPiecesAsTheyCome(const CliCommand &command, const CliOptions &options,
                             nc::ArrivingBytes &arriving, const std::function<bool(PieceResult &)> &take)
{
    if (!LinesEndEarly(arriving))
        return false;
    KeepFreedMemoryForReuse();
    // The held results' bytes one after the other in one room, taken at once in large pages.
    std::vector<PieceResult> held;
    std::vector<std::pair<qsizetype, qsizetype>> heldAt; // where each result's bytes stand, and their size
    QByteArray heldBytes;
    heldBytes.reserve(qsizetype(1) << 24);
    nc::AdviseLargeBuffer(heldBytes.data(), heldBytes.capacity());
    PieceResult working;
    qsizetype from = 0;
    nc::Arrived seen;
    for (;;) {
        const qsizetype end = nc::ArrivingPieceEnd(arriving, from, WholePieceSize, seen);
        if (seen.broken)
            return false;
        if (seen.all)
            break;
        const QByteArrayView piece = seen.bytes.sliced(from, end - from);
        if (!nc::IsCleanCp932(piece))
            return false;
        ConvertPiece(command, options, piece, working, true);
        PieceResult &result = held.emplace_back();
        result.outcome = std::move(working.outcome);
        result.encoded = working.encoded;
        result.unwritable = working.unwritable;
        // a result not encoded (a failure) is written from its output
        const qsizetype size = working.encoded ? working.bytes.size() : 0;
        heldAt.emplace_back(heldBytes.size(), size);
        heldBytes.append(working.bytes.constData(), size);
        from = end;
    }
    const QByteArrayView rest = seen.bytes.sliced(from);
    if (!nc::IsCleanCp932InParts(rest))
        return false;
    for (std::size_t k = 0; k < held.size(); ++k) {
        held[k].bytes = QByteArray::fromRawData(heldBytes.constData() + heldAt[k].first, heldAt[k].second);
        if (!take(held[k]))
            return true;
    }
    held.clear();
    ConvertPiecesAtOnce(command, options, rest, take);
    return true;
}

// Converts the program's pieces, a pipe's as they come; false when a pipe's bytes were no clean code page
// 932 or could not be read, or the program is one piece (to be converted whole), nothing given to `take`
// then.
bool ConvertPieces(const CliCommand &command, const CliOptions &options, ProgramBytes &bytes,
                   const std::function<bool(PieceResult &)> &take)
{
    if (nc::ArrivingBytes *arriving = bytes.Arriving())
        return ConvertPiecesAsTheyCome(command, options, *arriving, take);
    if (!HasSeveralPieces(bytes.View()))
        return false;
    ConvertPiecesAtOnce(command, options, bytes.View(), take);
    return true;
}

// A conversion that never looks past a line end is run on each piece of the program; -1 when nothing was
// converted (ConvertPieces).
int RunPieceByPiece(const CliCommand &command, const CliOptions &options, ProgramBytes &bytes)
{
    OutputWriter writer;
    int exitCode = 0;
    const bool converted = ConvertPieces(command, options, bytes, [&](PieceResult &piece) {
        if (piece.outcome.exitCode != 0) {
            WriteError(piece.outcome.error);
            exitCode = piece.outcome.exitCode;
            return false;
        }
        const int unwritable = WritePiece(piece, writer);
        if (unwritable >= 0) {
            (void)writer.Finish();
            WriteError(UnwritableCharacter(unwritable));
            exitCode = 1;
            return false;
        }
        return true;
    });
    if (!converted)
        return -1;
    if (exitCode != 0)
        return exitCode;
    return writer.Finish() ? 0 : 1;
}

// A change that never looks past a line end and counts its changes is run on each piece, the counts added
// up; the options were found usable on an empty program first, as the whole run would. -1 when nothing was
// converted (ConvertPieces).
int RunCountingPieceByPiece(const CliCommand &command, const CliOptions &options, ProgramBytes &bytes)
{
    OutputWriter writer;
    qint64 count = 0;
    bool unwritable = false;
    const bool converted = ConvertPieces(command, options, bytes, [&](PieceResult &piece) {
        count += piece.outcome.error.toLongLong();
        const int bad = WritePiece(piece, writer);
        if (bad >= 0) {
            (void)writer.Finish();
            WriteError(UnwritableCharacter(bad));
            unwritable = true;
            return false;
        }
        return true;
    });
    if (!converted)
        return -1;
    if (unwritable || !writer.Finish())
        return 1;
    WriteError(QString::number(count));
    return 0;
}

// Passes the result on but for its last two bytes, so that the CR LF a pass adds after a last line without
// one can be taken off at the end.
class LastLineEndHeldBack
{
public:
    explicit LastLineEndHeldBack(OutputWriter &writer) : m_writer(writer) {}

    void Write(QByteArrayView piece)
    {
        if (piece.size() >= 2) {
            m_writer.Write(m_held);
            m_writer.Write(piece.first(piece.size() - 2));
            m_held = piece.last(2).toByteArray();
            return;
        }
        m_held += piece;
        if (m_held.size() > 2) {
            m_writer.Write(QByteArrayView(m_held).first(m_held.size() - 2));
            m_held = m_held.last(2);
        }
    }

    // Writes the held bytes unless they are a CR LF the program did not end with.
    void Finish(QByteArrayView program)
    {
        if (!(m_held == "\r\n" && !program.endsWith("\r\n")))
            m_writer.Write(m_held);
        m_held.clear();
    }

private:
    OutputWriter &m_writer;
    QByteArray m_held;
};

// A conversion that goes line by line reads, converts and writes the program a piece at a time, so that
// neither the program's text nor the result is ever held whole, and converts large programs in parts on
// every processor; a pipe's bytes are converted as they come. The bytes are clean code page 932, so every
// character read can be written again; -1 when a pipe's bytes proved not to be, or could not be read, and
// nothing was written.
int RunInPieces(const nc::PassMaker &makePass, ProgramBytes &bytes, bool endsAsTheProgramEnds)
{
    OutputWriter writer;
    LastLineEndHeldBack heldBack(writer);
    const nc::ByteSink write = [&](QByteArrayView piece) {
        if (endsAsTheProgramEnds)
            heldBack.Write(piece);
        else
            writer.Write(piece);
    };
    nc::ArrivingBytes *arriving = bytes.Arriving();
    const nc::PassPartsOutcome outcome = arriving ? nc::RunPassOnArrivingBytes(makePass, *arriving, write)
                                                  : nc::RunPassInParts(makePass, bytes.View(), write);
    if (outcome.notConverted)
        return -1;
    if (endsAsTheProgramEnds)
        heldBack.Finish(bytes.View());
    if (!writer.Finish())
        return 1;
    if (outcome.unwritable >= 0) {
        WriteError(UnwritableCharacter(outcome.unwritable));
        return 1;
    }
    if (outcome.failed) {
        WriteError(outcome.failureMessage);
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments().mid(1);
    if (args.isEmpty() || args.first() == u"--help" || args.first() == u"-h")
        return UsageError(args.isEmpty() ? QStringLiteral("no conversion given") : QString());
    if (args.first() == u"--version") {
        std::printf("brindlewick-convert %s\n", BRINDLEWICK_VERSION);
        return 0;
    }
    const CliCommand *command = FindCommand(args.takeFirst());
    if (!command)
        return UsageError(QStringLiteral("unknown conversion"));

    CliOptions options;
    QString input;
    QString error;
    if (!ParseOptions(*command, args, options, input, error))
        return UsageError(error);
    if (command->unreadableFile) {
        const QString unreadable = command->unreadableFile(options);
        if (!unreadable.isEmpty()) {
            WriteError(unreadable);
            return 3;
        }
    }
    ProgramBytes bytes;
    if (!bytes.Open(input, error)) {
        WriteError(error);
        return 2;
    }
    if (command->pass) {
        if (!command->pass(options, error))
            return UsageError(error);
        // Bytes that are no character may decode to characters that cannot be written again: such a
        // program is converted whole, so that nothing at all is written then. A pipe's bytes are checked
        // as they come.
        if (bytes.Arriving() || nc::IsCleanCp932InParts(bytes.View())) {
            const auto makePass = [&command, &options] {
                QString unused;
                return command->pass(options, unused);
            };
            const int exitCode = RunInPieces(makePass, bytes, command->endsAsTheProgramEnds);
            if (exitCode >= 0)
                return WithLinesToCheck(*command, options, exitCode);
        }
    }
    if (command->runsPieceByPiece && (bytes.Arriving() || nc::IsCleanCp932InParts(bytes.View()))) {
        const int exitCode = RunPieceByPiece(*command, options, bytes);
        if (exitCode >= 0)
            return exitCode;
    }
    if (command->countsPieceByPiece && command->countsPieceByPiece(options) &&
        command->run(options, QString()).exitCode == 0 &&
        (bytes.Arriving() || nc::IsCleanCp932InParts(bytes.View()))) {
        const int exitCode = RunCountingPieceByPiece(*command, options, bytes);
        if (exitCode >= 0)
            return exitCode;
    }
    return RunWhole(*command, options, bytes);
}
