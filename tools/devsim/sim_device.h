#pragma once

#include "people_sim.h"
#include "picture_synth.h"
#include "sim_options.h"
#include "stats_gen.h"
#include "sys_unit.h"

#include "ko_device_records.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

#include <memory>
#include <vector>

// The counting device without its socket: the passes with their people and
// settings, the recordings, the stored counts and the system unit. It turns
// a request body into answer bodies and, stepped by the caller, produces the
// pictures and tracked objects of each frame.
class SimDevice
{
public:
    struct Output
    {
        QVector<QByteArray> toSender; // answers to the connection that asked
        QVector<QByteArray> toAll;    // changes every connection is told about
        QString log;                  // one line describing the request
        bool reboot = false;          // close everything and come back later
        int viewPass = -1;            // a view mode request: its pass and mode
        int viewMode = 0;
    };

    explicit SimDevice(const SimOptions& options);

    Output Handle(const char* body, qsizetype size, int64_t now_ms);

    // Advances the people and the recordings by dt seconds; returns the
    // recording progress and end messages that fell due.
    QVector<QByteArray> Step(double dt);

    // The picture (camera 1 left, 2 right) and the tracked objects of the
    // current frame of a pass. A picture is drawn and encoded once per frame
    // however many connections want it.
    QByteArray ImageBody(int pass_id, int camera_id, int64_t now_ms);
    QByteArray ObjectsBody(int pass_id, int64_t now_ms) const;

    // The true crossings of every pass since the last call.
    std::vector<SimCrossing> TakeCrossings();

    // After a reboot: recordings are lost.
    void Rebooted();

    int Passes() const { return static_cast<int>(passes.size()); }
    PeopleSim& Pass(int pass_id) { return *passes[static_cast<size_t>(pass_id)].people; }
    SysUnit& Unit() { return unit; }
    const StatsGen& Stats() const { return stats; }
    bool Recording(int pass_id) const
    {
        return passes[static_cast<size_t>(pass_id)].recordTotal > 0;
    }

    static ClientOptions DefaultMountData();
    // The acknowledgement code of a refused modem or server request.
    static constexpr int RefusedCode = -2;

private:
    struct PassState
    {
        std::unique_ptr<PeopleSim> people;
        ClientOptions mount;
        KoCameraNums cameras;
        int recordTotal = 0; // frames of the running recording, 0 when none
        double recordCounted = 0;
        double sinceProgress = 0;
        QString recordFile;
        QByteArray picture[2];
        int64_t pictureFrame[2] = {-1, -1};
    };

    QByteArray Progress(int pass_id) const;
    bool ValidPass(int pass_id) const { return pass_id >= 0 && pass_id < Passes(); }

    SimOptions options;
    std::vector<PassState> passes;
    PictureSynth synth;
    StatsGen stats;
    SysUnit unit;
    QStringList modemSettings;
    QStringList serverSettings;
    int64_t frame = 0;
};
