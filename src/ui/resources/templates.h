#pragma once

struct ResourceTable;

// The program's dialog templates, string table and icon.
const ResourceTable& ProgramResources();
