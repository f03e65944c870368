// An include from the model up to the shell, which the layer check must refuse.
#include "app/Application.h"
