// `veltrix-probe --kml FILE DIR`: the viewer's KML export of FILE, its own folder taken as the
// source, written into DIR (created when missing). The written file's full path goes to standard
// output; any failure is said on standard error.
#pragma once

// `argv[1]` is "--kml". Returns the probe's exit status: 0 written, 1 failed, 2 usage.
int RunKmlCommand(int argc, char** argv);
