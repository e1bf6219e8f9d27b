// One line describing the running system (Windows version, bitness, CPU),
// computed once at start for the About box and the tech-support form.
#pragma once

extern char SystemDescription[128];
extern unsigned long SystemPlatformId;
extern unsigned long SystemMajorVersion;
extern unsigned long SystemMinorVersion;
// "x86", or on 64-bit Windows the machine's PROCESSOR_ARCHITECTURE.
extern char SystemCpuText[32];

void BuildSystemDescription();
// 64 when the process runs on 64-bit Windows, else 32.
int GetProcessBitness();
// Sets SystemCpuText from the machine's environment key ("AMD64" when unreadable).
void ReadProcessorArchitecture();
