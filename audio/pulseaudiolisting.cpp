#include "pulseaudiolisting.h"

#include "pulsesupport.h"

#include <QCoreApplication>

#include <algorithm>

namespace {

struct Listing
{
    AudioSourceList list;
    int answersPending = 2; // the server's information and the source list
};

void onServerInfo(pa_context *, const pa_server_info *info, void *data)
{
    auto *listing = static_cast<Listing *>(data);
    if (info && info->default_source_name)
        listing->list.defaultName = QString::fromUtf8(info->default_source_name);
    --listing->answersPending;
}

void onSourceInfo(pa_context *, const pa_source_info *info, int last, void *data)
{
    auto *listing = static_cast<Listing *>(data);
    if (last) {
        --listing->answersPending;
        return;
    }
    if (!info)
        return;
    AudioSourceInfo source;
    source.name = QString::fromUtf8(info->name);
    source.description = QString::fromUtf8(info->description ? info->description : info->name);
    source.format = {int(info->sample_spec.rate), std::min(int(info->sample_spec.channels), 2)};
    if (const char *path = pa_proplist_gets(info->proplist, "sysfs.path"))
        source.sysfsPath = QString::fromUtf8(path);
    source.isMonitor = info->monitor_of_sink != PA_INVALID_INDEX;
    listing->list.sources.append(source);
}

// Runs the loop until done() or the deadline; false at the deadline.
template<typename Done> bool iterateUntil(pa_mainloop *mainloop, qint64 deadlineNs, Done done)
{
    while (!done()) {
        const qint64 leftUs = (deadlineNs - monotonicNowNs()) / 1000;
        if (leftUs <= 0)
            return false;
        if (pa_mainloop_prepare(mainloop, int(std::min<qint64>(leftUs, 100'000))) < 0 ||
            pa_mainloop_poll(mainloop) < 0 || pa_mainloop_dispatch(mainloop) < 0)
            return false;
    }
    return true;
}

} // namespace

std::optional<AudioSourceList> listAudioSources(QString *error, int timeoutMs)
{
    const qint64 deadlineNs = monotonicNowNs() + qint64(timeoutMs) * 1'000'000;
    const MainloopHandle mainloop(pa_mainloop_new());
    const ContextHandle context(
        mainloop ? pa_context_new(pa_mainloop_get_api(mainloop.get()), pulseClientName())
                 : nullptr);
    if (!context) {
        *error =
            QCoreApplication::translate("AudioSourceList", "the sound client could not be started");
        return std::nullopt;
    }
    if (pa_context_connect(context.get(), nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0) {
        *error = pulseErrorText(context.get());
        return std::nullopt;
    }
    const auto settled = [&] {
        const pa_context_state_t state = pa_context_get_state(context.get());
        return state == PA_CONTEXT_READY || !PA_CONTEXT_IS_GOOD(state);
    };
    if (!iterateUntil(mainloop.get(), deadlineNs, settled) ||
        pa_context_get_state(context.get()) != PA_CONTEXT_READY) {
        const int code = pa_context_errno(context.get());
        *error = code ? pulseErrorText(context.get())
                      : QCoreApplication::translate("AudioSourceList",
                                                    "the sound server did not answer");
        return std::nullopt;
    }
    Listing listing;
    const OperationHandle serverInfo(
        pa_context_get_server_info(context.get(), &onServerInfo, &listing));
    const OperationHandle sourceInfo(
        pa_context_get_source_info_list(context.get(), &onSourceInfo, &listing));
    if (!serverInfo || !sourceInfo ||
        !iterateUntil(mainloop.get(), deadlineNs, [&] { return listing.answersPending <= 0; })) {
        *error = QCoreApplication::translate("AudioSourceList", "the sound server did not answer");
        return std::nullopt;
    }
    return listing.list;
}
