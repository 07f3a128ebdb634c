// A plain-text account of what the user would see, written for the keyboard replay tests that
// drive the program under a virtual display: which control has the focus and the text it shows,
// where the inner windows stand, what each list has selected, which pop-up is open.  It is
// written to the file named by the environment variable TESSARINE_REPLAY_STATE each time the
// process gets SIGUSR1; without that variable nothing is installed.
#pragma once

class QObject;

// Installs the writer when TESSARINE_REPLAY_STATE is set.
void InstallReplayState(QObject* parent);
