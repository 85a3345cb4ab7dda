// Makes the framework's own component classes creatable by name from window layouts.
#pragma once

void RegisterFrameworkClasses();
