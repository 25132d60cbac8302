// For tests only: forget the settings store so that the next GetAppSettings() creates a new one
// from the then current working directory and environment. The program itself never calls this.
#pragma once

void ResetAppSettingsForTest();
