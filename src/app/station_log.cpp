// SPDX-License-Identifier: GPL-3.0-or-later
// Station log: the day files, their stamp lines, reading them back and the buffered writer.
#include "app/station_log.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <system_error>

#include "core/data_home.h"
#include "core/terminal_text.h"

namespace plovane {
namespace {

constexpr int64_t kSecondsPerDay = 86400;
constexpr size_t kMaxSourceLength = 8;
// "#YYYY-MM-DDTHH:MM:SSZ RX " is 25 characters; the source follows.
constexpr size_t kStampPrefixLength = 25;
// Ends the stamp line of a line written with escapes.
constexpr std::string_view kEscapedMark = " \\x";

// Days since 1970-01-01, rounded down; whole for any time, INT64_MIN ("since ever") included.
int64_t DayOf(int64_t utcSeconds) {
    return utcSeconds >= 0 ? utcSeconds / kSecondsPerDay
                           : -1 - (-(utcSeconds + 1)) / kSecondsPerDay;
}

struct Civil {
    int year;
    unsigned month, day;
};

Civil CivilOf(int64_t day) {
    const std::chrono::year_month_day ymd{
        std::chrono::sys_days{std::chrono::days{static_cast<int32_t>(day)}}};
    return {static_cast<int>(ymd.year()), static_cast<unsigned>(ymd.month()),
            static_cast<unsigned>(ymd.day())};
}

// The day number of a valid civil date, or false.
bool DayNumber(int year, unsigned month, unsigned day, int64_t& out) {
    const std::chrono::year_month_day ymd{std::chrono::year{year}, std::chrono::month{month},
                                          std::chrono::day{day}};
    if (!ymd.ok())
        return false;
    out = std::chrono::sys_days{ymd}.time_since_epoch().count();
    return true;
}

void PutDigits(char* out, unsigned value, int width) {
    for (int i = width - 1; i >= 0; --i) {
        out[i] = static_cast<char>('0' + value % 10);
        value /= 10;
    }
}

// Reads `width` decimal digits; false when one is not a digit.
bool GetDigits(std::string_view text, size_t at, int width, unsigned& value) {
    value = 0;
    for (int i = 0; i < width; ++i) {
        const char c = text[at + static_cast<size_t>(i)];
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + static_cast<unsigned>(c - '0');
    }
    return true;
}

// "YYYY-MM-DD" into out[0..9].
void PutDate(char* out, int64_t day) {
    const Civil c = CivilOf(day);
    PutDigits(out, static_cast<unsigned>(std::clamp(c.year, 0, 9999)), 4);
    out[4] = '-';
    PutDigits(out + 5, c.month, 2);
    out[7] = '-';
    PutDigits(out + 8, c.day, 2);
}

// "YYYY-MM-DD" at `at`, as a day number.
bool GetDate(std::string_view text, size_t at, int64_t& day) {
    unsigned y = 0, m = 0, d = 0;
    if (!GetDigits(text, at, 4, y) || text[at + 4] != '-' || !GetDigits(text, at + 5, 2, m) ||
        text[at + 7] != '-' || !GetDigits(text, at + 8, 2, d)) {
        return false;
    }
    return DayNumber(static_cast<int>(y), m, d, day);
}

std::string_view WithoutLineEnds(std::string_view line) {
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n'))
        line.remove_suffix(1);
    return line;
}

// A file that does not end in LF had its last record cut by a crash or a full disk. The
// bytes after the last LF (the whole file when it holds none) are moved to "<day>.log.damaged"
// beside it, so that they cannot swallow the first stamp written now and are not lost.
// False when they could not be set aside; the file is then left as it is.
bool SetAsideCutRecord(int fd, const std::filesystem::path& file) {
    struct stat info {};
    char last = '\n';
    if (::fstat(fd, &info) != 0 || info.st_size == 0 ||
        ::pread(fd, &last, 1, info.st_size - 1) != 1 || last == '\n') {
        return true;
    }
    char block[65536];
    off_t cut = 0;  // where the cut record starts
    for (off_t end = info.st_size; end > 0 && cut == 0;) {
        const off_t start = std::max<off_t>(0, end - static_cast<off_t>(sizeof block));
        const ssize_t got = ::pread(fd, block, static_cast<size_t>(end - start), start);
        if (got != end - start)
            return false;
        for (ssize_t i = got - 1; i >= 0; --i) {
            if (block[i] == '\n') {
                cut = start + i + 1;
                break;
            }
        }
        end = start;
    }
    const std::filesystem::path aside = file.string() + ".damaged";
    const int out = ::open(
        aside.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0644);
    if (out < 0)
        return false;
    bool ok = true;
    for (off_t at = cut; ok && at < info.st_size;) {
        const ssize_t got = ::pread(fd, block, sizeof block, at);
        ok = got > 0 && ::write(out, block, static_cast<size_t>(got)) == got;
        at += std::max<ssize_t>(got, 0);
    }
    ok = ::write(out, "\n", 1) == 1 && ok;
    ::close(out);
    return ok && ::ftruncate(fd, cut) == 0;
}

}  // namespace

// --- Settings ---

void CLogSettings::Load(const Profile& profile) {
    bStationLog = profile.GetInt("Station", "bStationLog", 1) != 0;
    LogReplayHours = std::clamp(profile.GetInt("Station", "LogReplayHours", 24), 0, 24 * 366);
    LogRetentionDays = std::clamp(profile.GetInt("Station", "LogRetentionDays", 30), 0, 36600);
}

void CLogSettings::Save(Profile& profile) const {
    profile.WriteInt("Station", "bStationLog", bStationLog ? 1 : 0);
    profile.WriteInt("Station", "LogReplayHours", LogReplayHours);
    profile.WriteInt("Station", "LogRetentionDays", LogRetentionDays);
}

// --- Names and stamps ---

std::filesystem::path DefaultLogFolder() {
    const std::filesystem::path base = XdgDataHome();
    return base.empty() ? base : base / "plovane" / "log";
}

std::string LogFileName(int64_t utcSeconds) {
    std::string name(14, ' ');
    PutDate(name.data(), DayOf(utcSeconds));
    name.replace(10, 4, ".log");
    return name;
}

std::string StampLine(int64_t utcSeconds, LogDirection direction, std::string_view source,
                      bool escaped) {
    std::string out(kStampPrefixLength, ' ');
    out[0] = '#';
    const int64_t day = DayOf(utcSeconds);
    const auto second = static_cast<unsigned>(utcSeconds - day * kSecondsPerDay);
    PutDate(out.data() + 1, day);
    out[11] = 'T';
    PutDigits(out.data() + 12, second / 3600, 2);
    out[14] = ':';
    PutDigits(out.data() + 15, second / 60 % 60, 2);
    out[17] = ':';
    PutDigits(out.data() + 18, second % 60, 2);
    out[20] = 'Z';
    out[22] = direction == LogDirection::kSent ? 'T' : 'R';
    out[23] = 'X';
    out.append(source.substr(0, kMaxSourceLength));
    if (escaped)
        out.append(kEscapedMark);
    return out;
}

bool ParseStampLine(std::string_view text, int64_t& utcSeconds, LogDirection& direction,
                    std::string_view& source, bool* escaped) {
    const bool marked = text.ends_with(kEscapedMark);
    if (marked)
        text.remove_suffix(kEscapedMark.size());
    if (escaped != nullptr)
        *escaped = marked;
    if (text.size() <= kStampPrefixLength || text.size() > kStampPrefixLength + kMaxSourceLength ||
        text[0] != '#' || text[11] != 'T' || text[14] != ':' || text[17] != ':' ||
        text[20] != 'Z' || text[21] != ' ' || text[23] != 'X' || text[24] != ' ') {
        return false;
    }
    int64_t day = 0;
    unsigned h = 0, m = 0, s = 0;
    if (!GetDate(text, 1, day) || !GetDigits(text, 12, 2, h) || !GetDigits(text, 15, 2, m) ||
        !GetDigits(text, 18, 2, s) || h > 23 || m > 59 || s > 59) {
        return false;
    }
    if (text[22] == 'R') {
        direction = LogDirection::kReceived;
    } else if (text[22] == 'T') {
        direction = LogDirection::kSent;
    } else {
        return false;
    }
    source = text.substr(kStampPrefixLength);
    for (const char c : source) {
        if (c < 'A' || c > 'Z')
            return false;
    }
    utcSeconds = day * kSecondsPerDay + h * 3600 + m * 60 + s;
    return true;
}

// --- Reading ---

void LogLineFilter::Apply(std::string& line) {
    const bool escaped = escapedNext_;
    escapedNext_ = false;
    int64_t utc = 0;
    LogDirection direction{};
    std::string_view source;
    if (!line.empty() && line[0] == '#') {
        ParseStampLine(WithoutLineEnds(line), utc, direction, source, &escapedNext_);
    } else if (escaped) {
        line = UnescapeTerminalText(line);
    }
}

// The day files are read into memory of their own rather than the heap's: asked of the
// system with huge pages, a file of 80 MB costs a few dozen page faults instead of twenty
// thousand, which at start is the larger part of reading it.
LogReplaySet::Bytes::Bytes(size_t size) {
    constexpr size_t kHugePage = size_t{2} << 20;
    // Room to start at a huge-page boundary.
    const size_t mapped = size + 1 + kHugePage;
    void* base =
        ::mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (base == MAP_FAILED)
        return;
    const auto start = reinterpret_cast<uintptr_t>(base);
    const uintptr_t aligned = (start + kHugePage - 1) & ~(kHugePage - 1);
    // Hand back the parts before and after; only advice follows, so failures are harmless.
    if (aligned > start)
        ::munmap(base, aligned - start);
    const size_t kept = size + 1;
    const size_t keptPages = (kept + 4095) & ~size_t{4095};
    const uintptr_t end = start + mapped;
    if (aligned + keptPages < end)
        ::munmap(reinterpret_cast<void*>(aligned + keptPages), end - (aligned + keptPages));
    data_ = reinterpret_cast<char*>(aligned);
    size_ = keptPages;
    (void)::madvise(data_, size_, MADV_HUGEPAGE);
}

LogReplaySet::Bytes::~Bytes() {
    if (data_ != nullptr)
        ::munmap(data_, size_);
}

bool LogReplaySet::AddFile(const std::filesystem::path& file, int64_t sinceUtc) {
    return ReadFile(file, sinceUtc, budget_);
}

bool LogReplaySet::ReadFile(const std::filesystem::path& file, int64_t sinceUtc, int64_t maxBytes) {
    // Without O_NONBLOCK the open of a pipe named like a day file would wait for a writer.
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0)
        return false;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return false;
    }
    // Only the newest bytes within the limit are read, and the byte before them, which tells
    // whether they start a line.
    const int64_t skip = std::max<int64_t>(0, info.st_size - std::min(maxBytes, budget_));
    budget_ -= info.st_size - skip;
    leftOut_ += skip;
    int64_t at = std::max<int64_t>(0, skip - 1);
    const int64_t end = info.st_size;
    const auto chunk = sink_ ? static_cast<int64_t>(chunkBytes_) : end - at;
    std::string carry;  // the start of a record the last chunk did not finish
    bool first = true;
    bool dropLine = false;  // within a line longer than a chunk
    while (at < end) {
        const auto want = static_cast<size_t>(std::min(chunk, end - at));
        Bytes buffer(carry.size() + want);
        if (buffer.data() == nullptr) {
            ::close(fd);
            return false;
        }
        peakBuffer_ = std::max(peakBuffer_, carry.size() + want);
        std::memcpy(buffer.data(), carry.data(), carry.size());
        size_t done = 0;
        while (done < want) {
            const ssize_t got = ::pread(fd, buffer.data() + carry.size() + done, want - done,
                                        static_cast<off_t>(at + static_cast<int64_t>(done)));
            if (got < 0 && errno == EINTR)
                continue;
            if (got <= 0)
                break;  // the file shrank meanwhile: keep what was read
            done += static_cast<size_t>(got);
        }
        at += static_cast<int64_t>(done);
        const bool more = done == want && at < end;
        std::string_view bytes(buffer.data(), carry.size() + done);
        if (first && skip > 0) {
            // Start at the first whole record: a part line, and a packet line whose stamp was
            // left out, belong to the older lines.
            size_t lf = bytes.find('\n');
            if (lf != std::string_view::npos && lf + 1 < bytes.size() && bytes[lf + 1] != '#')
                lf = bytes.find('\n', lf + 1);
            bytes.remove_prefix(lf == std::string_view::npos ? bytes.size() : lf + 1);
        }
        first = false;
        if (dropLine) {
            const size_t lf = bytes.find('\n');
            dropLine = lf == std::string_view::npos;
            bytes.remove_prefix(dropLine ? bytes.size() : lf + 1);
        }
        const size_t taken = Parse(bytes, sinceUtc, more);
        carry.assign(bytes.substr(taken));
        if (carry.size() > static_cast<size_t>(chunk) / 2 && more) {
            // No record is this long: one damaged line, skipped to its end.
            ++damaged_;
            dropLine = true;
            carry.clear();
        }
        if (sink_) {
            Deliver();
        } else {
            buffers_.push_back(std::move(buffer));
        }
        if (!more || stop_.stop_requested())
            break;
    }
    ::close(fd);
    return true;
}

void LogReplaySet::Deliver() {
    if (!sink_ || records_.empty())
        return;
    Sort();
    sink_(records_);
    records_.clear();
}

void LogReplaySet::AddBytes(std::string_view bytes, int64_t sinceUtc) {
    Bytes buffer(bytes.size());
    if (buffer.data() == nullptr)
        return;
    std::memcpy(buffer.data(), bytes.data(), bytes.size());
    const std::string_view view(buffer.data(), bytes.size());
    peakBuffer_ = std::max(peakBuffer_, bytes.size());
    Parse(view, sinceUtc);
    if (sink_) {
        Deliver();
    } else {
        buffers_.push_back(std::move(buffer));
    }
}

size_t LogReplaySet::Parse(std::string_view bytes, int64_t sinceUtc, bool more) {
    const char* const begin = bytes.data();
    if (!sink_) {
        // Room for the records, judged from the line ends of the first megabyte, so that the
        // list is not copied as it grows (a record is two lines).
        const std::string_view sample = bytes.substr(0, size_t{1} << 20);
        size_t sampleLines = 0;
        for (const char *p = sample.data(), *end = p + sample.size();
             (p = static_cast<const char*>(std::memchr(p, '\n', static_cast<size_t>(end - p)))) !=
             nullptr;
             ++p) {
            ++sampleLines;
        }
        if (!sample.empty()) {
            const double lines =
                static_cast<double>(sampleLines) *
                (static_cast<double>(bytes.size()) / static_cast<double>(sample.size()));
            records_.reserve(records_.size() + static_cast<size_t>(lines * 0.53) + 16);
        }
    }
    bool haveStamp = false;
    bool escaped = false;
    size_t stampAt = 0;  // where the stamp waiting for its line starts
    LogRecord record;
    while (!bytes.empty()) {
        const size_t lf = bytes.find('\n');
        if (lf == std::string_view::npos) {
            if (more)
                return haveStamp ? stampAt : static_cast<size_t>(bytes.data() - begin);
            // A last line without its line end was cut by a crash or a full disk.
            ++damaged_;
            haveStamp = false;
            break;
        }
        const size_t lineAt = static_cast<size_t>(bytes.data() - begin);
        std::string_view line = WithoutLineEnds(bytes.substr(0, lf));
        bytes.remove_prefix(lf + 1);
        if (line.empty())
            continue;
        if (line[0] == '#') {
            if (haveStamp)
                ++damaged_;  // the stamp before lost its line
            haveStamp =
                ParseStampLine(line, record.utcSeconds, record.direction, record.source, &escaped);
            stampAt = lineAt;
            if (!haveStamp)
                ++damaged_;
            continue;
        }
        if (!haveStamp) {
            ++damaged_;  // a line without its stamp
            continue;
        }
        haveStamp = false;
        if (record.utcSeconds >= sinceUtc) {
            if (escaped) {
                // The exact bytes are never longer than their escaped text: back in place.
                const std::string exact = UnescapeTerminalText(line);
                char* const at = const_cast<char*>(line.data());
                std::memcpy(at, exact.data(), exact.size());
                line = std::string_view(at, exact.size());
            }
            record.line = line;
            records_.push_back(record);
            ++count_;
        }
    }
    if (haveStamp) {
        if (more)
            return stampAt;
        ++damaged_;
    }
    return static_cast<size_t>(bytes.data() - begin);
}

void LogReplaySet::AddFolder(const std::filesystem::path& folder, int64_t sinceUtc) {
    std::error_code error;
    std::vector<std::filesystem::path> files;
    const int64_t firstDay = DayOf(sinceUtc);
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error)) {
        const std::string name = it->path().filename().string();
        int64_t day = 0;
        if (name.size() == 14 && name.compare(10, 4, ".log") == 0 && GetDate(name, 0, day) &&
            day >= firstDay && it->is_regular_file(error)) {
            files.push_back(it->path());
        }
    }
    // Oldest day first, so that records with equal stamps keep the order they were written in;
    // but the read limit is shared out newest first.
    std::sort(files.begin(), files.end());
    std::vector<int64_t> shares(files.size(), 0);
    int64_t left = budget_;
    for (size_t i = files.size(); i-- > 0;) {
        const auto size = static_cast<int64_t>(std::filesystem::file_size(files[i], error));
        shares[i] = error ? 0 : std::min(size, left);
        left -= shares[i];
    }
    for (size_t i = 0; i < files.size() && !stop_.stop_requested(); ++i)
        ReadFile(files[i], sinceUtc, shares[i]);
}

void LogReplaySet::Sort() {
    const auto earlier = [](const LogRecord& a, const LogRecord& b) {
        return a.utcSeconds < b.utcSeconds;
    };
    // A log written by one clock is already in order; only a clock step needs the sort.
    if (!std::is_sorted(records_.begin(), records_.end(), earlier))
        std::stable_sort(records_.begin(), records_.end(), earlier);
}

size_t PurgeOldLogs(const std::filesystem::path& folder, int64_t nowUtc, int retentionDays) {
    if (retentionDays <= 0 || folder.empty())
        return 0;
    const int64_t firstKept = DayOf(nowUtc) - retentionDays;
    std::error_code error;
    std::vector<std::filesystem::path> old;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error)) {
        const std::string name = it->path().filename().string();
        int64_t day = 0;
        if (name.size() == 14 && name.compare(10, 4, ".log") == 0 && GetDate(name, 0, day) &&
            day < firstKept) {
            old.push_back(it->path());
        }
    }
    size_t removed = 0;
    for (const auto& file : old)
        removed += std::filesystem::remove(file, error) ? 1 : 0;
    return removed;
}

// --- Writer ---

struct CStationLog::Shared {
    Shared(std::filesystem::path folder, UtcSource now, NoticeSink notice, int retentionDays)
        : folder(std::move(folder)),
          now(std::move(now)),
          retentionDays(retentionDays),
          notice(std::move(notice)) {}

    void Run();
    bool Flush();
    bool WriteOut(std::vector<Pending>& batch);
    void Fail(const std::string& what, int error, size_t lost);
    void Succeeded();
    void Notify(const std::string& text);

    const std::filesystem::path folder;
    const UtcSource now;
    std::atomic<int> retentionDays;

    std::mutex noticeMutex;  // guards notice, cleared when the writer is left behind
    NoticeSink notice;

    mutable std::mutex mutex;  // guards the fields below
    std::condition_variable wake;
    std::condition_variable finishedChanged;
    std::vector<Pending> pending;
    size_t pendingBytes = 0;
    size_t writingRecords = 0;  // records of the batch being written
    uint64_t dropped = 0;
    uint64_t droppedBeforeFailure = 0;
    std::string tncHeader;
    bool failing = false;
    bool stop = false;
    bool finished = false;
    bool abandoned = false;

    std::mutex fileMutex;  // one writer of the files at a time
    int64_t lastPurgeDay = INT64_MIN;
};

CStationLog::CStationLog(std::filesystem::path folder, UtcSource now, NoticeSink notice,
                         int retentionDays)
    : shared_(std::make_shared<Shared>(std::move(folder), std::move(now), std::move(notice),
                                       retentionDays)) {}

CStationLog::~CStationLog() {
    Close();
}

void CStationLog::Start() {
    if (thread_.joinable())
        return;
    {
        std::lock_guard lock(shared_->mutex);
        shared_->stop = false;
        shared_->finished = false;
    }
    shared_->lastPurgeDay = DayOf(shared_->now());
    thread_ = std::thread([shared = shared_] { shared->Run(); });
}

void CStationLog::Close() {
    if (!thread_.joinable()) {
        bool abandoned = false;
        {
            std::lock_guard lock(shared_->mutex);
            abandoned = shared_->abandoned;
        }
        if (!abandoned)  // the writer left behind still holds the files
            Flush();
        return;
    }
    std::unique_lock lock(shared_->mutex);
    shared_->stop = true;
    shared_->wake.notify_all();
    if (shared_->finishedChanged.wait_for(lock, std::chrono::milliseconds(kCloseWaitMs),
                                          [this] { return shared_->finished; })) {
        lock.unlock();
        thread_.join();
        return;
    }
    // The system does not finish the write: the writer is left to it, and what it holds
    // and what waits after it are not written.
    shared_->abandoned = true;
    size_t lost = shared_->writingRecords;
    for (const Pending& part : shared_->pending)
        lost += part.records;
    shared_->dropped += lost;
    shared_->pending.clear();
    shared_->pendingBytes = 0;
    lock.unlock();
    thread_.detach();
    Shared& shared = *shared_;
    shared.Notify("Station log: " + std::to_string(lost) +
                  " records not written: " + shared.folder.string() + " did not take them within " +
                  std::to_string(kCloseWaitMs / 1000) + " s.");
    std::lock_guard noticeLock(shared.noticeMutex);
    shared.notice = nullptr;
}

void CStationLog::Shared::Run() {
    for (;;) {
        {
            std::unique_lock lock(mutex);
            wake.wait_for(lock, std::chrono::milliseconds(kFlushPeriodMs), [this] { return stop; });
        }
        Flush();
        {
            std::lock_guard lock(mutex);
            if (stop)
                break;
        }
        // Midnight (UTC): the oldest day file goes.
        const int64_t today = DayOf(now());
        if (today != lastPurgeDay) {
            lastPurgeDay = today;
            PurgeOldLogs(folder, today * kSecondsPerDay, retentionDays.load());
        }
    }
    std::lock_guard lock(mutex);
    finished = true;
    finishedChanged.notify_all();
}

void CStationLog::Append(LogDirection direction, std::string_view source, std::string_view line) {
    line = WithoutLineEnds(line);
    if (line.empty())
        return;
    const int64_t utc = shared_->now();
    const int64_t day = DayOf(utc);
    // A line that starts like a stamp would read back as one; the decoder trims the blank.
    std::string text = line[0] == '#' ? " " : "";
    text.append(line);
    // A line end inside would split the record.
    std::replace_if(
        text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    const bool escaped = HasTerminalControls(text);
    std::string record = StampLine(utc, direction, source, escaped);
    record += '\n';
    record += escaped ? EscapeTerminalText(text, true) : text;
    record += '\n';

    std::lock_guard lock(shared_->mutex);
    if (shared_->abandoned || shared_->pendingBytes + record.size() > kMaxBufferBytes) {
        ++shared_->dropped;
        return;
    }
    std::vector<Pending>& pending = shared_->pending;
    if (pending.empty() || pending.back().day != day)
        pending.push_back({day, {}, 0});
    pending.back().bytes += record;
    ++pending.back().records;
    shared_->pendingBytes += record.size();
}

bool CStationLog::Flush() {
    return shared_->Flush();
}

bool CStationLog::Shared::Flush() {
    std::lock_guard files(fileMutex);
    std::vector<Pending> batch;
    {
        std::lock_guard lock(mutex);
        batch.swap(pending);
        pendingBytes = 0;
        writingRecords = 0;
        for (const Pending& part : batch)
            writingRecords += part.records;
    }
    const bool ok = batch.empty() || WriteOut(batch);
    std::lock_guard lock(mutex);
    writingRecords = 0;
    return ok;
}

bool CStationLog::Shared::WriteOut(std::vector<Pending>& batch) {
    bool ok = true;
    for (Pending& part : batch) {
        const std::filesystem::path file = folder / LogFileName(part.day * kSecondsPerDay);
        // Only a regular file: a pipe or a device named like a day file would block the
        // writer or swallow the records.
        struct stat info {};
        int fd = -1;
        if (::stat(file.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
            errno = EINVAL;
        } else {
            constexpr int kFlags = O_RDWR | O_CREAT | O_APPEND | O_CLOEXEC | O_NOCTTY;
            fd = ::open(file.c_str(), kFlags, 0644);
            if (fd < 0 && errno == ENOENT) {
                std::error_code error;
                std::filesystem::create_directories(folder, error);
                fd = ::open(file.c_str(), kFlags, 0644);
            }
            if (fd >= 0 && (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode))) {
                ::close(fd);
                fd = -1;
                errno = EINVAL;
            }
        }
        {
            std::lock_guard lock(mutex);
            if (abandoned) {  // Close gave up on this write and counted it
                if (fd >= 0)
                    ::close(fd);
                return false;
            }
        }
        if (fd < 0) {
            Fail((errno == EINVAL ? "not a regular file: " : "cannot open ") + file.string(), errno,
                 part.records);
            ok = false;
            continue;
        }
        // A record cut by an earlier crash or full disk is set aside, so that its part line
        // cannot swallow the first stamp written now.
        if (!SetAsideCutRecord(fd, file)) {
            ::close(fd);
            Fail("cannot set aside the cut last record of " + file.string(), errno, part.records);
            ok = false;
            continue;
        }
        std::string_view rest = part.bytes;
        while (!rest.empty()) {
            const ssize_t done = ::write(fd, rest.data(), rest.size());
            if (done < 0 && errno == EINTR)
                continue;
            if (done <= 0) {
                // Count the records not written (a part record reads back as damaged).
                const size_t written = part.bytes.size() - rest.size();
                const size_t lost = static_cast<size_t>(
                    std::count(part.bytes.begin() + static_cast<std::ptrdiff_t>(written),
                               part.bytes.end(), '\n') /
                    2);
                Fail("cannot write " + file.string(), done < 0 ? errno : ENOSPC,
                     std::max<size_t>(lost, 1));
                ok = false;
                break;
            }
            rest.remove_prefix(static_cast<size_t>(done));
        }
        // Onto the disk, not only into the system's cache, so that a power cut loses no more
        // than a crash: one sync per file and flush, on the writer thread (at most twice a
        // second, and only when there was something to write).
        if (rest.empty())
            (void)::fdatasync(fd);
        ::close(fd);
    }
    if (ok)
        Succeeded();
    return ok;
}

void CStationLog::Shared::Fail(const std::string& what, int error, size_t lost) {
    {
        std::lock_guard lock(mutex);
        dropped += lost;
        if (failing)
            return;
        failing = true;
        droppedBeforeFailure = dropped - lost;
    }
    Notify("Station log: " + what + ": " + std::strerror(error) +
           "; the station goes on without it.");
}

void CStationLog::Shared::Succeeded() {
    uint64_t lost = 0;
    {
        std::lock_guard lock(mutex);
        if (!failing)
            return;
        failing = false;
        lost = dropped - droppedBeforeFailure;
    }
    Notify("Station log: writing again; " + std::to_string(lost) +
           " records were not written meanwhile.");
}

void CStationLog::Shared::Notify(const std::string& text) {
    std::lock_guard lock(noticeMutex);
    if (notice)
        notice(text);
}

void CStationLog::SetTncHeader(std::string header) {
    std::lock_guard lock(shared_->mutex);
    shared_->tncHeader = std::move(header);
}

std::string CStationLog::TncHeader() const {
    std::lock_guard lock(shared_->mutex);
    return shared_->tncHeader;
}

void CStationLog::SetRetentionDays(int days) {
    shared_->retentionDays.store(days);
}

const std::filesystem::path& CStationLog::folder() const {
    return shared_->folder;
}

uint64_t CStationLog::dropped() const {
    std::lock_guard lock(shared_->mutex);
    return shared_->dropped;
}

bool CStationLog::writing() const {
    std::lock_guard lock(shared_->mutex);
    return !shared_->failing;
}

}  // namespace plovane
