// placeholder until the skin engine lands
#include "app/skin_deploy.h"
void DeploySkinEngine() {}
void ApplyEmbeddedSkin(int) {}
