#pragma once

#include <QString>
#include <sys/types.h>

// CPU time spent so far, in seconds, split by who spent it. Read it before and
// after a run and subtract: the difference is what the run cost.
struct CpuSample
{
    double mainThread = 0; // the GUI thread: ticks, painting, composing the window
    double process = 0; // every thread of this process (llvmpipe's rasterisers too)
    double server = -1; // the display server, or -1 when it can't be read
};

class CpuClock
{
public:
    // Looks for the X server of $DISPLAY among the local processes. Call on
    // the thread whose time counts as the main thread's.
    CpuClock();

    CpuSample sample() const;
    // Why the server's time is missing, or empty when it is read.
    QString serverNote() const { return m_serverNote; }

private:
    pid_t m_server = 0;
    QString m_serverNote;
};

// Resident memory of this process now and at its peak, in MiB. The kernel
// updates the peak lazily: take the larger of the two.
double residentMiB();
double peakResidentMiB();
