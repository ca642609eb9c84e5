#include "ui/run/EncryptionJob.h"

#include "batch/BatchRun.h"
#include "ui/run/JobEventObserver.h"
#include "batch/FileTypes.h"
#include "ui/run/RunState.h"

void RunEncryptionJob(const JobInput& input) {
    // Without a sink the run still works and logs; its events go nowhere.
    JobEventObserver observer(input.sink ? input.sink : JobEventSink::Create(), input.statusColumn,
                              input.progress);
    BatchRun::Settings settings;
    settings.outputDir = input.outputDir;
    settings.run = input.run;
    settings.extension = GetWrittenExtension();
    RunStateStopToken stop;
    BatchRun(settings, observer, stop).Run(input.rows);
}
