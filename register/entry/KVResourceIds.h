// Resource ids of KVRegister.dll, shared by its resource script and the code that loads them.
#ifndef KV_RESOURCE_IDS_H
#define KV_RESOURCE_IDS_H

// The header image drawn when the installation has no Bitmaps\Register.bmp.
#define KV_IDB_HEADER 200

#endif
