#include "questdb/quest_database.h"
