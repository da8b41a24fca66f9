# filled in below
