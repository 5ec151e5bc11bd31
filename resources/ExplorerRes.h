// Resource numbers of the Project Explorer bar, the file view and the drag cursor, shared by the resource script and the code.
#pragma once
