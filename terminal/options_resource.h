// Resource ids of the Terminal's options dialogs (options.rc).
#pragma once
