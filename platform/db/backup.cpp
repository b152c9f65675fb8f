#include "platform/db/backup.h"

#include "platform/db/connection_p.h"
#include "platform/db/connectionparams.h"

using namespace Firebird;

namespace {

int vax(const unsigned char* p, int n)
{
    int v = 0;
    for (int i = 0; i < n; ++i) v |= int(p[i]) << (8 * i);
    return v;
}

QByteArray buffer(IXpbBuilder* b, ThrowStatusWrapper* st)
{
    return QByteArray(reinterpret_cast<const char*>(b->getBuffer(st)), int(b->getBufferLength(st)));
}

// Starts the action the builder describes and hands its output to progress until it ends.
bool run(const ConnectionParams& params, const std::function<void(IXpbBuilder*, ThrowStatusWrapper*)>& describe,
         const DbBackup::Progress& progress)
{
    IMaster* master = fb_get_master_interface();
    IUtil* util = master->getUtilInterface();
    Status st(master);
    Ref<IService> svc;
    try {
        Ref<IXpbBuilder> attach(util->getXpbBuilder(&st.w, IXpbBuilder::SPB_ATTACH, nullptr, 0));
        attach->insertString(&st.w, isc_spb_user_name, params.user.toUtf8().constData());
        if (params.embedded()) {
            attach->insertString(&st.w, isc_spb_config, "Providers=Engine12");
        } else {
            attach->insertString(&st.w, isc_spb_password, params.password.toUtf8().constData());
        }
        QString manager = QStringLiteral("service_mgr");
        if (!params.embedded())
            manager = params.server + (params.port > 0 ? u'/' + QString::number(params.port) : QString()) + u':' + manager;
        const QByteArray a = buffer(attach.p, &st.w);
        Ref<IProvider> prov(master->getDispatcher());
        svc.p = prov->attachServiceManager(&st.w, manager.toUtf8().constData(), unsigned(a.size()),
                                             reinterpret_cast<const unsigned char*>(a.constData()));

        Ref<IXpbBuilder> start(util->getXpbBuilder(&st.w, IXpbBuilder::SPB_START, nullptr, 0));
        describe(start.p, &st.w);
        const QByteArray s = buffer(start.p, &st.w);
        svc->start(&st.w, unsigned(s.size()), reinterpret_cast<const unsigned char*>(s.constData()));

        // Waits at most a second for a line, so the caller stays responsive and may cancel.
        const unsigned char send[] = {isc_info_svc_timeout, 4, 0, 1, 0, 0, 0};
        const unsigned char receive[] = {isc_info_svc_line};
        unsigned char out[16384];
        // The engine cannot stop a started action: a client that detaches only stops hearing it,
        // and the action goes on creating and writing its files. A cancelled run therefore reads
        // on until the service says it has ended; only then are its files the caller's to remove.
        bool cancelled = false;
        for (;;) {
            try {
                svc->query(&st.w, sizeof send, send, sizeof receive, receive, sizeof out, out);
            } catch (const FbException&) {
                if (!cancelled) throw;
                break;  // its failure is its end, and nobody waits for its result
            }
            bool finished = false, waiting = false;
            QString line;
            for (const unsigned char* p = out; p < out + sizeof out && *p != isc_info_end;) {
                const unsigned char tag = *p++;
                if (tag == isc_info_svc_line) {
                    const int len = vax(p, 2);
                    p += 2;
                    line = QString::fromUtf8(reinterpret_cast<const char*>(p), len);
                    p += len;
                    finished = len == 0;
                } else if (tag == isc_info_data_not_ready || tag == isc_info_svc_timeout) {
                    waiting = true;
                } else {
                    break;  // isc_info_truncated; nothing else was asked for
                }
            }
            if (finished && !waiting) break;
            if (!progress(line)) cancelled = true;
        }
        Status quiet(master);
        try {
            svc->detach(cancelled ? &quiet.w : &st.w);
        } catch (const FbException&) {
            if (!cancelled) throw;
        }
        svc.release();
        return !cancelled;
    } catch (const FbException& e) {
        throw translateStatus(util, e, {});
    }
}

} // namespace

bool DbBackup::backup(const ConnectionParams& params, const QString& database, const QString& file,
                      const Progress& progress)
{
    return run(
        params,
        [&](IXpbBuilder* b, ThrowStatusWrapper* st) {
            b->insertTag(st, isc_action_svc_backup);
            b->insertString(st, isc_spb_dbname, database.toUtf8().constData());
            b->insertString(st, isc_spb_bkp_file, file.toUtf8().constData());
            b->insertInt(st, isc_spb_verbint, 20000);
        },
        progress);
}

bool DbBackup::restore(const ConnectionParams& params, const QString& file, const QString& database,
                       const Progress& progress)
{
    return run(
        params,
        [&](IXpbBuilder* b, ThrowStatusWrapper* st) {
            b->insertTag(st, isc_action_svc_restore);
            b->insertString(st, isc_spb_bkp_file, file.toUtf8().constData());
            b->insertString(st, isc_spb_dbname, database.toUtf8().constData());
            b->insertInt(st, isc_spb_options, isc_spb_res_create);
            b->insertInt(st, isc_spb_verbint, 20000);
        },
        progress);
}
