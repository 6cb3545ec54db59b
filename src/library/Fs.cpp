// The portable part of the file-system door, and what its platform files share:
// the error kept for lastError() and the test seams.
#include "library/FsPrivate_p.h"

#include "library/Cp1252.h"

#include <QStringDecoder>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <functional>
#include <thread>

namespace corvane::fs {
namespace {

thread_local int t_error = 0;
std::atomic<int> g_failAt{0};
std::atomic<int> g_hangAt{0};
std::function<void()> g_hanging;
std::atomic<int> g_steps{0};
std::atomic<int> g_readPauseMs{0};
std::atomic<bool> g_withoutLocks{false};

}  // namespace

namespace detail {

void readPause()
{
    if (const int ms = g_readPauseMs.load(std::memory_order_relaxed))
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

bool step()
{
    const int n = g_steps.fetch_add(1) + 1;
    if (g_failAt.load() == n) {
        t_error = EIO;
        return false;
    }
    if (g_hangAt.load() == n) {
        g_hanging();
        for (;;)
            std::this_thread::sleep_for(std::chrono::hours(1));
    }
    return true;
}

bool fail(int error)
{
    t_error = error;
    return false;
}

bool locksMissing()
{
    return g_withoutLocks;
}

}  // namespace detail

bool within(const Path& root, const Path& path)
{
    const Path r = realPath(root), p = realPath(path);
    if (r.isEmpty() || p.isEmpty())
        return false;
    // A drive's or the system's root already ends in '/'.
    return p == r || p.startsWith(r.endsWith('/') ? r : r + '/');
}

Path join(QByteArrayView dir, QByteArrayView name)
{
    Path out;
    out.reserve(dir.size() + name.size() + 1);
    out.append(dir.data(), dir.size());
    if (!out.endsWith('/'))
        out.append('/');
    out.append(name.data(), name.size());
    return out;
}

QString shownName(QByteArrayView raw)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(raw);
    if (!utf8.hasError())
        return text;
    return cp1252::decode(raw);
}

QByteArray rawName(const QString& name)
{
    return name.toUtf8();
}

bool diskFull(int error)
{
    return error == ENOSPC
#ifdef EDQUOT
        || error == EDQUOT
#endif
        ;
}

int lastError()
{
    return t_error;
}

namespace testing {
int failStep(int k)
{
    g_failAt.store(k);
    return g_steps.exchange(0);
}

void hangAtStep(int k, std::function<void()> hanging)
{
    g_hanging = std::move(hanging);
    g_steps.store(0);
    g_hangAt.store(k);
}

void slowReads(int ms)
{
    g_readPauseMs.store(ms);
}

void withoutLocks(bool without)
{
    g_withoutLocks = without;
}
}  // namespace testing

}  // namespace corvane::fs
