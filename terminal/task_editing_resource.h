// Resource ids of the Terminal's task editing dialogs (task_editing.rc).
#pragma once
