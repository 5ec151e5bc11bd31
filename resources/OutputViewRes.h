// Resource numbers of the output view, shared by the resource script and the code.
#pragma once
